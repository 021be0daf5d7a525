#!/usr/bin/env bash
# An input/output error during the start-up scan reaches the user through the
# real program's event loop: the general error box comes up, and once it is
# answered the program runs on (a reload meets the same error again, the close
# button saves and ends the program normally). Its text is tested in-process.
# usage: startup_error_e2e.sh PATH_TO_ROMDECK
set -euo pipefail

source "$(dirname "$0")/harness.sh"
on_virtual_display 300 "$@"

binary=$1
begin_work

mkdir -p "$work/prog" "$work/roms"
cp "$binary" "$work/prog/romdeck"
printf '#!/bin/sh\nexit 0\n' > "$work/prog/kgen.exe"
chmod +x "$work/prog/kgen.exe"
# A ROM file that a renamed collection left behind as a link to nothing.
ln -s gone.bin "$work/roms/broken.bin"
printf '[General]\r\nroms=%s\r\npix=%s\r\nkgenloc=%s\r\n' "$work/roms" "$work/roms" "$work/prog/kgen.exe" \
  > "$work/prog/romdeck.ini"

(cd "$work" && exec "$work/prog/romdeck") &
romdeck_pid=$!

check "the start-up scan's error comes up in the general error box" wait_for 20 error_box_up
xdotool key Return
check "OK closes the box" wait_for 5 no_error_box
check "the program runs on" kill -0 "$romdeck_pid"

# Re-Load Roms, the small button over the left end of Play: the same error
# again, through the same loop.
click_at 18 406
check "a reload meets the error again" wait_for 10 error_box_up
xdotool key Return
check "and the program still runs" wait_for 5 no_error_box

# The close button saves and ends the program normally.
click_at 553 406
status=0
wait "$romdeck_pid" || status=$?
romdeck_pid=
check "the close button ends the program normally" [ "$status" -eq 0 ]
check "and saved the settings" grep -q $'^optshowing=' "$work/prog/romdeck.ini"

report
