#!/usr/bin/env bash
# Runs a freedesktop validator on what check_tree.sh installed: the menu entries
# (desktop-file-validate) or the AppStream metadata (appstreamcli). Ends with 77, skipped
# in CTest, when the validator is not installed; scripts/install-deps --packaging installs both.
# Usage: validate_metadata.sh desktop|appstream PREFIX
set -uo pipefail
prefix=$2

case $1 in
  desktop)
    command -v desktop-file-validate >/dev/null || { echo "SKIPPED: desktop-file-validate is not installed"; exit 77; }
    output=$(desktop-file-validate "$prefix"/share/applications/morvane*.desktop 2>&1)
    status=$?
    [ -z "$output" ] || echo "$output"
    # It ends with 0 after warnings, and after errors it calls "will be fatal in the future";
    # both fail here, hints do not.
    [ $status -eq 0 ] && ! grep -qE ': (warning|error): ' <<<"$output"
    ;;
  appstream)
    command -v appstreamcli >/dev/null || { echo "SKIPPED: appstreamcli is not installed"; exit 77; }
    appstreamcli validate --no-net "$prefix"/share/metainfo/com.example.morvane.metainfo.xml
    ;;
esac
