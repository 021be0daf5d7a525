#!/usr/bin/env bash
# The picker files the picture of a ROM whose name is not valid UTF-8 under
# the ROM's own bytes, where the preview finds it again; the label shows the
# name decoded.
# usage: byte_named_pictures_e2e.sh PATH_TO_ROMDECK
set -euo pipefail

source "$(dirname "$0")/harness.sh"
on_virtual_display 1200 "$@"

binary=$1
begin_work

mkdir -p "$work/prog" "$work/roms" "$work/pix"
cp "$binary" "$work/prog/romdeck"
printf '#!/bin/sh\nexit 0\n' > "$work/prog/kgen.exe"
chmod +x "$work/prog/kgen.exe"
rom_name=$'Pok\xe9mon'
make_rom "$work/roms/$rom_name.bin" "POKEMON"
make_picture "$work/pix/snap000.pcx" rgb:00/ff/00
printf '[General]\r\nroms=%s\r\npix=%s\r\noptshowing=0\r\n' "$work/roms" "$work/pix" > "$work/prog/romdeck.ini"

start_romdeck() {
  (cd "$work" && exec "$work/prog/romdeck") &
  romdeck_pid=$!
  wait_for 20 window_named "Romdeck - 1 ROMs" && sleep 0.3
}
picture_shown() { colour_is 420 168 '#00FF00'; }

check "the program lists the ROM" start_romdeck
check "without a picture at first" eval '! picture_shown'
click_at $((268 + 226)) $((68 + 212)) # PICK PIX
check "the picker opens" wait_for 10 window_sized 600x318
# GET PIX on the picker, centred on the screen.
xdotool mousemove $((212 + 132 + 158)) $((225 + 284 + 14)) click 1
check "the picture is filed under the ROM's own bytes" wait_for 5 test -f "$work/pix/$rom_name.pcx"
check "and under no other name" [ "$(ls "$work/pix")" = "$rom_name.pcx" ]
check "the preview shows it" wait_for 5 picture_shown
stop_romdeck

check "the program starts again" start_romdeck
check "and finds the picture" wait_for 5 picture_shown

report
