#!/usr/bin/env bash
# A portable copy on a FAT stick (an image through fusefat) plays, saving its settings
# beside itself, closes, starts again with them, and files a picture onto the stick.
# usage: fat_stick_e2e.sh PATH_TO_ROMDECK
set -euo pipefail

source "$(dirname "$0")/harness.sh"
on_virtual_display 1200 "$@"
begin_work

# Room for the program as the sanitizers build it, about 50 MB.
truncate -s 256M "$work/stick.img" && mkdir "$work/stick"
if [ "$(id -u)" != 0 ] || ! mkfs.fat "$work/stick.img" >/dev/null || ! fusefat -o rw+ "$work/stick.img" "$work/stick" >/dev/null; then
  echo "skipped: the FAT image cannot be mounted here (needs root, dosfstools and fusefat)"; exit 77
fi
before_removing_work() { umount -l "$work/stick"; }
stick=$work/stick/romdeck
mkdir -p "$stick/roms" && cp "$1" "$stick/romdeck"
printf '#!/bin/sh\ntouch "%s/played"\n' "$work" > "$stick/kgen.exe"
make_rom "$stick/roms/sonic.bin" SONIC
make_picture "$stick/roms/snap000.pcx" red

(cd "$stick/roms" && exec "$stick/romdeck") &
romdeck_pid=$!
check "the copy on the stick starts" wait_for 20 window_named "Romdeck - 1 ROMs"
xdotool key Return
check "Play starts the emulator" wait_for 10 test -e "$work/played"
check "having saved the settings on the stick" grep -q "roms=$stick/roms" "$stick/romdeck.ini"
click_at 420 312 # View Preview Picture
click_at 553 406 # Bye Bye: saves and closes
check "the close ends the program" wait_for 10 bash -c "! xdotool search --name '^Romdeck - 1 ROMs$'"
stop_romdeck

(cd "$work" && exec "$stick/romdeck") &
romdeck_pid=$!
check "it starts again from elsewhere with the stick's ROMs" wait_for 20 window_named "Romdeck - 1 ROMs"
click_at $((268 + 226)) $((68 + 212)) # PICK PIX, on the preview panel the close left showing
check "the picker opens" wait_for 10 window_sized 600x318
sleep 0.5
xdotool mousemove $((212 + 132 + 158)) $((225 + 284 + 14)) click 1 # GET PIX
check "the picture is filed on the stick" wait_for 5 test -e "$stick/roms/sonic.pcx"

report
