#!/usr/bin/env bash
# Starts the installed commands (from check_tree.sh's PREFIX) as a user would and checks the
# per-user working folder the programs set up: made on first start with the default qqq.qq
# and a music link to the installed tunes, the program running in it, the user's setting kept
# on later starts, a folder that cannot be prepared never keeping a program from coming up,
# and nothing written under the prefix.
# Usage: per_user_start.sh PREFIX; the program names and QT_QPA_PLATFORM=offscreen come from
# the environment (tests/CMakeLists.txt).
set -euo pipefail
prefix=$1
programdir=$prefix/lib/morvane
scratch=$(mktemp -d "${TMPDIR:-/tmp}/morvane start 用户.XXXXXX")
pid=
cleanup() {
  # The whole group: a launcher that failed to exec leaves its program as a child.
  if [ -n "$pid" ]; then kill -- "-$pid" 2>/dev/null || true; fi
  rm -rf -- "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# within SECONDS COMMAND...: runs COMMAND until it succeeds; fails once SECONDS have passed.
# Generous, since a busy machine may take its time to start a program or its sound.
within() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# start COMMAND PROGRAM: runs bin/COMMAND in the background and waits until the script has
# become PROGRAM (it ends with exec); sets pid. Then the working folder is the program's own.
# In a process group of its own, so that cleanup ends whatever it started.
start() {
  local command=$1 program=$2
  setsid "$prefix/bin/$command" >"$scratch/$command.log" 2>&1 &
  pid=$!
  within 20 is_running "$programdir/$program" ||
    fail "$command did not start $program within 20 s; it said: $(cat "$scratch/$command.log")"
}
is_running() { [ "$(readlink "/proc/$pid/exe" || true)" = "$1" ]; }
# stop: ends the program, which must still be running (the windows keep it alive).
stop() {
  local status=0
  sleep 0.5
  kill "$pid" 2>/dev/null || true
  wait "$pid" || status=$?
  pid=
  [ "$status" -eq 143 ] || fail "the program ended by itself (status $status) before it was stopped"
}
# expect_runs_in DIR: the running program's working directory (it moves there first thing
# after its start).
expect_runs_in() {
  local folder=$1
  within 20 runs_in "$folder" && return 0
  fail "the program runs in $(readlink "/proc/$pid/cwd"), not $folder"
}
runs_in() { [ "$(readlink "/proc/$pid/cwd")" = "$1" ]; }
leads_to_installed_tunes() { [ "$(realpath "$1/music" 2>/dev/null)" = "$(realpath "$programdir/music")" ]; }
# expect_working_folder DIR: the program runs in DIR, with what it set up there.
expect_working_folder() {
  local folder=$1
  expect_runs_in "$folder"
  # The program links the tunes just after it has moved into the folder.
  within 20 leads_to_installed_tunes "$folder" || fail "$folder/music does not lead to the installed tunes"
  cmp -s "$folder/music/1.mid" "$programdir/music/1.mid" || fail "music/1.mid cannot be read in $folder"
}

export HOME="$scratch/家 home"
mkdir -p "$HOME"
export XDG_DATA_HOME="$scratch/data 数据"
work=$XDG_DATA_HOME/Morvane
touch "$scratch/before"

# First start: the folder is made, with the default setting, and its tune "music\1.mid" is
# heard from the installed tunes (SDL's disk driver writes what would be played to a file).
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/sound.raw"
start morvane "$MORVANE_MAIN_PROGRAM"
expect_working_folder "$work"
cmp -s "$work/qqq.qq" "$programdir/qqq.qq" || fail "the first start did not copy the default qqq.qq"
# Some sample that is not silence.
heard() { [ -n "$(tr -d '\000' <"$scratch/sound.raw" 2>/dev/null | head -c 1)" ]; }
within 20 heard || fail "no tune was heard within 20 s"
stop
export SDL_AUDIODRIVER=dummy

# The user picked another tune, and an older installation left the link pointing elsewhere:
# the setter keeps the setting and mends the link.
printf 'D:\\my tunes\\song.mid\r\n' >"$work/qqq.qq"
cp "$work/qqq.qq" "$scratch/chosen"
rm "$work/music"
ln -s "$scratch/old prefix/lib/morvane/music" "$work/music"
start morvane-music "$MORVANE_SETTER_PROGRAM"
expect_working_folder "$work"
cmp -s "$work/qqq.qq" "$scratch/chosen" || fail "a second start overwrote the user's qqq.qq"
stop

# Without XDG_DATA_HOME the folder is ~/.local/share/Morvane.
unset XDG_DATA_HOME
start morvane-help "$MORVANE_HELP_PROGRAM"
expect_working_folder "$HOME/.local/share/Morvane"
stop

# A per-user folder that cannot be prepared: each program still comes up and stays (a notice
# names the path and the reason), in the folder when it can enter it, else where it was started.
export XDG_DATA_HOME="$scratch/broken"
mkdir -p "$XDG_DATA_HOME"
work=$XDG_DATA_HOME/Morvane
touch "$work"
start morvane "$MORVANE_MAIN_PROGRAM"
expect_runs_in "$PWD"
stop
rm "$work"
ln -s "$scratch/nowhere" "$work"
start morvane-music "$MORVANE_SETTER_PROGRAM"
expect_runs_in "$PWD"
stop
rm "$work"
mkdir "$work"
ln -s "$scratch/nowhere" "$work/qqq.qq"
start morvane "$MORVANE_MAIN_PROGRAM"
expect_working_folder "$work"
[ "$(readlink "$work/qqq.qq")" = "$scratch/nowhere" ] || fail "the user's qqq.qq link was replaced"
stop
rm "$work/qqq.qq" "$work/music"
chmod 0555 "$work"
start morvane-help "$MORVANE_HELP_PROGRAM"
expect_runs_in "$work"
[ ! -e "$work/qqq.qq" ] || fail "a qqq.qq appeared in a read-only folder"
stop
chmod 0755 "$work"

changed=$(find "$prefix" -newer "$scratch/before" -print)
[ -z "$changed" ] || fail "starting the programs wrote under the prefix: $changed"
echo "per-user working folder set up and used"
