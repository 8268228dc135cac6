#!/usr/bin/env python3
"""Writes the tip-of-the-day file skinmaker/data/QQ.QQ from tips.txt (UTF-8, one tip a line):
GBK, every line ended by CR LF, no byte-order mark.  Run from anywhere: python3 tools/tips/make_tips.py"""
from pathlib import Path

here = Path(__file__).resolve().parent
tips = here.joinpath('tips.txt').read_text(encoding='utf-8').splitlines()
assert tips and all(tip.strip() for tip in tips), 'tips.txt holds an empty line: every line is shown as a tip'
here.parent.parent.joinpath('skinmaker', 'data', 'QQ.QQ').write_bytes(''.join(tip + '\r\n' for tip in tips).encode('gbk'))
print(len(tips), 'tips written')
