#!/usr/bin/env bash
# A relative snapshot folder names the same folder after a Play, which makes
# the snapshot folder the working folder: the preview still finds the
# picture, the delete removes it, and the picker opens on that folder and
# files the chosen picture there.
# usage: relative_snapshots_e2e.sh PATH_TO_ROMDECK
set -euo pipefail

source "$(dirname "$0")/harness.sh"
on_virtual_display 900 "$@"

binary=$1
begin_work

mkdir -p "$work/prog" "$work/roms" "$work/pix" "$work/emu" "$work/records"
cp "$binary" "$work/prog/romdeck"
cat > "$work/emu/kgen" <<'STANDIN'
#!/bin/sh
pwd > "$RECORDS/launch.tmp" && mv "$RECORDS/launch.tmp" "$RECORDS/launch"
STANDIN
chmod +x "$work/emu/kgen"
export RECORDS="$work/records"
absent() { [ ! -e "$1" ]; }
make_rom "$work/roms/alpha.bin" "ALPHA"
make_rom "$work/roms/beta.bin" "BETA"
make_picture "$work/pix/alpha.pcx" red
make_picture "$work/pix/snap000.pcx" rgb:00/ff/00
# Both folders relative to the folder the program starts in; the picture panel showing.
printf '[General]\r\nroms=roms\r\npix=pix\r\nkgenloc=%s\r\noptshowing=0\r\n' "$work/emu/kgen" > "$work/prog/romdeck.ini"

(cd "$work" && exec "$work/prog/romdeck") &
romdeck_pid=$!
check "the program lists the ROMs" wait_for 20 window_named "Romdeck - 2 ROMs"
sleep 0.3
# The middle of the picture panel, clear of its label and buttons.
check "the picture shows before the Play" wait_for 5 colour_is 420 168 '#FF0000'

xdotool key Return
check "Play runs the emulator in the snapshot folder" wait_for 10 test -e "$RECORDS/launch"
check "which is the folder named at start" [ "$(cat "$RECORDS/launch" 2>/dev/null)" = "$work/pix" ]

xdotool key Down key Up
check "after the Play the selection shows the picture again" wait_for 5 colour_is 420 168 '#FF0000'

click_at $((268 + 296)) $((68 + 10)) # the delete button, the panel's top right corner
check "the delete asks first" wait_for 10 window_named Warning
xdotool key Return
check "the delete removes the picture" wait_for 5 absent "$work/pix/alpha.pcx"

click_at $((268 + 226)) $((68 + 212)) # PICK PIX
check "the picker opens" wait_for 10 window_sized 600x318
sleep 0.5
check "without an error" no_error_box
# GET PIX on the picker, centred on the screen.
xdotool mousemove $((212 + 132 + 158)) $((225 + 284 + 14)) click 1
check "the picker files the snapshot in the snapshot folder" wait_for 5 test -e "$work/pix/alpha.pcx"
check "and the preview shows it" wait_for 5 colour_is 420 168 '#00FF00'
check "the snapshot left its name" absent "$work/pix/snap000.pcx"

report
