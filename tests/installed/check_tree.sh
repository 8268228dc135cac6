#!/usr/bin/env bash
# Installs the build into a fresh PREFIX with cmake --install, as a user of another
# distribution would, and checks that the tree has everything in place.
# Usage: check_tree.sh BUILD_DIR PREFIX; the rest comes from the environment (tests/CMakeLists.txt).
set -euo pipefail
build_dir=$1
prefix=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need_file() { [ -f "$prefix/$1" ] || fail "missing $1"; }

rm -rf -- "$prefix"
"$CMAKE_COMMAND" --install "$build_dir" --prefix "$prefix" >/dev/null

programdir=lib/morvane
for program in $MORVANE_PROGRAMS; do
  [ -x "$prefix/$programdir/$program" ] || fail "$programdir/$program is missing or not executable"
done
# The data beside the programs, byte for byte (GBK, CR LF, MIDI).
for data in QQ.QQ qqq.qq music/{1..8}.mid; do
  cmp -s "$MORVANE_DATA_DIR/$data" "$prefix/$programdir/$data" || fail "$programdir/$data differs from the source"
done

# The checker is a program of its own on PATH, with its manual page.
[ -x "$prefix/bin/morvane-check" ] || fail "bin/morvane-check is missing or not executable"
need_file share/man/man1/morvane-check.1.gz

for command in morvane morvane-music morvane-help; do
  [ -x "$prefix/bin/$command" ] || fail "bin/$command is missing or not executable"
  sh -n "$prefix/bin/$command" || fail "bin/$command is not a valid sh script"
  need_file "share/man/man1/$command.1.gz"
  entry=share/applications/$command.desktop
  need_file "$entry"
  [ -f "$prefix/$entry" ] || continue
  # The menu entry starts the command and shows an icon installed at every size.
  grep -qx "Exec=$command" "$prefix/$entry" || fail "$entry does not start $command"
  icon=$(sed -n 's/^Icon=//p' "$prefix/$entry")
  [ "$icon" = "$command" ] || fail "$entry names the icon '$icon'"
  need_file "share/icons/hicolor/scalable/apps/$icon.svg"
  for size in $MORVANE_ICON_SIZES; do
    png=share/icons/hicolor/${size}x$size/apps/$icon.png
    need_file "$png"
    [ -f "$prefix/$png" ] || continue
    # Width and height from the PNG header must be the size of the folder.
    read -r width height < <(od -An -j16 -N8 -tu1 "$prefix/$png" |
      awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height pixels"
  done
done

metainfo=share/metainfo/com.example.morvane.metainfo.xml
need_file "$metainfo"
if [ -f "$prefix/$metainfo" ]; then
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$prefix/$metainfo")
  need_file "share/applications/$launchable"
  # The newest release is listed first; it must be the version being installed.
  release=$(grep -m1 -o '<release version="[^"]*"' "$prefix/$metainfo" | cut -d'"' -f2)
  [ "$release" = "$MORVANE_VERSION" ] || fail "$metainfo's newest release is $release, not $MORVANE_VERSION"
fi

need_file share/doc/morvane/copyright
changelog=share/doc/morvane/changelog.gz
need_file "$changelog"
if [ -f "$prefix/$changelog" ]; then
  top=$(gzip -dc "$prefix/$changelog" | head -n1)
  [[ $top == "morvane ($MORVANE_VERSION) "* ]] || fail "the changelog's newest entry is '$top', not version $MORVANE_VERSION"
fi

[ "$failures" -eq 0 ] || exit 1
echo "installed tree complete in $prefix"
