#!/usr/bin/env bash
# A ROM collection on a share where one file's reads hang, as when the share
# went away: the real program keeps answering while its start-up scan waits
# on that file, and its close button saves and ends the program at once, the
# read still hanging. The share is the latency file system of bench/.
# usage: hung_share_e2e.sh PATH_TO_ROMDECK PATH_TO_LATENCY_FS
set -euo pipefail

source "$(dirname "$0")/harness.sh"

# Without a usable /dev/fuse and fusermount3 there is no share to make.
if ! { [ -c /dev/fuse ] && command -v fusermount3 >/dev/null && (exec 3<>/dev/fuse) 2>/dev/null; }; then
  echo "skipped: FUSE is not usable here (/dev/fuse cannot be opened or fusermount3 is missing)"
  exit 77
fi
on_virtual_display 400 "$@"

binary=$1
latency_fs=$2
begin_work

mkdir -p "$work/prog" "$work/backing" "$work/share"
cp "$binary" "$work/prog/romdeck"
printf '#!/bin/sh\nexit 0\n' > "$work/prog/kgen.exe"
chmod +x "$work/prog/kgen.exe"
for i in $(seq 1 40); do make_rom "$work/backing/game$i.bin" "GAME $i"; done
make_rom "$work/backing/hung.bin" "HUNG"

# Every request waits 1 ms; reads of hung.bin wait ten minutes.
"$latency_fs" "$work/backing" "$work/share" --latency-us 1000 --slow hung.bin=600000 -f &
fs_pid=$!
before_removing_work() {
  fusermount3 -u -z "$work/share" 2>/dev/null || true
  kill "$fs_pid" 2>/dev/null || true
  wait "$fs_pid" 2>/dev/null || true
}
wait_for 20 mountpoint -q "$work/share" || { echo "FAILED: the latency file system did not mount"; exit 1; }

printf '[General]\r\nroms=%s\r\npix=%s\r\nkgenloc=%s\r\noptshowing=1\r\n' \
  "$work/share" "$work/prog" "$work/prog/kgen.exe" > "$work/prog/romdeck.ini"
# In a sanitizer build the leak check at exit stops every thread first, and a
# thread in a hung read cannot stop: that check alone would hold the exit.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
(cd "$work" && exec "$work/prog/romdeck") &
romdeck_pid=$!

main_window_up() { xdotool search --onlyvisible --name '^Romdeck' >/dev/null 2>&1; }
# The share holds a read of hung.bin.
read_hangs() { grep -qs '^slow reads waiting now [1-9]' "$work/share/.latency-fs-stats"; }
about_up() { window_named 'About Romdeck'; }
about_gone() { ! about_up; }
# Ended: every thread of the process gone, none left asleep in the share.
ended() { ! [ -e /proc/"$romdeck_pid" ]; }

check "the main window comes up" wait_for 30 main_window_up
check "the scan reaches the hung file" wait_for 30 read_hangs
check "and stops there" bash -c '! xdotool search --name "^Romdeck - 41 ROMs$" >/dev/null 2>&1'

# The About window opens and closes while the read hangs.
click_at 288 406
check "the window answers a click while the read hangs" wait_for 10 about_up
about=$(xdotool search --onlyvisible --name '^About Romdeck$' 2>/dev/null | head -1) || true
[ -n "$about" ] && xdotool mousemove --window "$about" 394 172 click 1
check "and the About window closes again" wait_for 10 about_gone
check "the read still hangs" read_hangs

# Reloads meet the hung file again, each while the earlier read still hangs.
for _ in 1 2 3; do click_at 18 406; sleep 1; done
check "the reloads still wait on the one hung read" grep -qs '^slow reads waiting now 1$' "$work/share/.latency-fs-stats"

# The close button saves and ends the program, the read still hanging.
click_at 553 406
check "the close button ends the program at once" wait_for 20 ended
check "while the share still serves" test -s "$work/share/game1.bin"
stop_romdeck
check "and saved the settings first" grep -q '^\[Default\]' "$work/prog/romdeck.ini"

report
