#!/usr/bin/env bash
# The program on a screen scaled to 200 %: the main window keeps its layout in
# the window's pixels (twice as many screen pixels each way), and its logo is
# the one drawn for that scale, not the 1x picture with its pixels doubled.
# usage: scale_e2e.sh PATH_TO_ROMDECK ARTWORK_FOLDER
set -euo pipefail

source "$(dirname "$0")/harness.sh"
E2E_SCREEN=1600x1200x24 on_virtual_display 1200 "$@"

binary=$1
artwork=$2
begin_work

mkdir -p "$work/prog" "$work/roms"
cp "$binary" "$work/prog/romdeck"
printf '#!/bin/sh\nexit 0\n' > "$work/prog/kgen.exe"
chmod +x "$work/prog/kgen.exe"
make_rom "$work/roms/Game.bin" "GAME"
printf '[General]\r\nroms=%s\r\n' "$work/roms" > "$work/prog/romdeck.ini"

shot_at_scale() { # shot_at_scale FACTOR FILE: the main window as the screen shows it
  (cd "$work" && QT_SCALE_FACTOR=$1 exec "$work/prog/romdeck") &
  romdeck_pid=$!
  wait_for 20 window_named "Romdeck - 1 ROMs" || return 1
  sleep 0.5
  import -window "$(xdotool search --onlyvisible --name '^Romdeck - 1 ROMs$' | head -1)" "$2"
  stop_romdeck
}
size_of() { identify -format '%wx%h' "$1"; }
# Pixels where two pictures differ.
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
# The window's logo, at the logo's place and size times the factor, with the
# pixels the logo leaves out (black in the logo) made black.
logo_on_screen() { # logo_on_screen SHOT FACTOR LOGO OUT
  local f=$2
  convert "$3" -fill white +opaque black "$work/mask.png"
  convert "$1" -crop "$(size_of "$3")+$((268 * f))+$((8 * f))" +repage \
    "$work/mask.png" -compose Multiply -composite "$4"
}

check "the window at 100 %" shot_at_scale 1 "$work/shot1.png"
check "the window at 200 %" shot_at_scale 2 "$work/shot2.png"
check "576 x 425 at 100 %" [ "$(size_of "$work/shot1.png")" = 576x425 ]
check "twice that at 200 %: the layout stays in the window's pixels" [ "$(size_of "$work/shot2.png")" = 1152x850 ]

logo_on_screen "$work/shot1.png" 1 "$artwork/logo_small.png" "$work/logo1.png"
logo_on_screen "$work/shot2.png" 2 "$artwork/logo_small@2x.png" "$work/logo2.png"
check "at 100 % the window shows the logo drawn for it" [ "$(differing "$work/logo1.png" "$artwork/logo_small.png")" = 0 ]
check "at 200 % the window shows the logo drawn for 200 %" \
  [ "$(differing "$work/logo2.png" "$artwork/logo_small@2x.png")" = 0 ]
convert "$artwork/logo_small.png" -sample 200% "$work/doubled.png"
# More than a tenth of its pixels differ from the doubled 1x picture.
check "which is not the 1x logo with its pixels doubled" \
  [ "$(differing "$work/logo2.png" "$work/doubled.png")" -gt $((300 * 114 / 10)) ]
report
