#!/usr/bin/env bash
# Type to find in the real program: letters typed quickly into the main list
# go to the entry their word starts, the same letter typed again steps on, and
# each selection loads the entry's options as an arrow key's does, so that
# Enter then starts the stand-in emulator on that entry with them.
# usage: type_to_find_e2e.sh PATH_TO_ROMDECK
set -euo pipefail

source "$(dirname "$0")/harness.sh"
on_virtual_display 900 "$@"

binary=$1
begin_work

mkdir -p "$work/prog" "$work/roms" "$work/records"
cp "$binary" "$work/prog/romdeck"
cat > "$work/prog/kgen stand-in" <<'STANDIN'
#!/bin/sh
out="$RECORDS/launch.$$"
for a in "$@"; do printf '[%s]\n' "$a"; done > "$out.tmp"
mv "$out.tmp" "$out"
STANDIN
chmod +x "$work/prog/kgen stand-in"
export RECORDS="$work/records"
make_rom "$work/roms/altered.bin" "ALTERED BEAST"
make_rom "$work/roms/outrun.bin" "OUTRUN"
make_rom "$work/roms/rally.bin" "SEGA RALLY"
make_rom "$work/roms/sonic.bin" "SONIC THE HEDGEHOG"
make_rom "$work/roms/streets.bin" "STREETS OF RAGE"
# Sonic has a frame rate of its own; the others play with the Default set.
printf '[General]\r\nroms=%s\r\npix=%s\r\nkgenloc=%s\r\ngeneloc=\r\ncdrom=\r\noptshowing=1\r\n[Default]\r\nusekgen=0\r\nfskip=1\r\ncountry=0\r\ndissound=0\r\nextracmdline=\r\n[sonic.bin]\r\nusekgen=0\r\nfskip=3\r\ncountry=0\r\ndissound=0\r\nextracmdline=\r\n' \
  "$work/roms" "$work/roms" "$work/prog/kgen stand-in" > "$work/prog/romdeck.ini"

launched() { # launched RECORD: one launch recorded, moved to RECORD
  local record
  for record in "$RECORDS"/launch.*; do
    [ -e "$record" ] && [ "${record%.tmp}" = "$record" ] && mv "$record" "$1" && return 0
  done
  return 1
}
as_expected() { # as_expected RECORD ARGS...
  local record=$1; shift
  diff <(printf '[%s]\n' "$@") "$record" || { echo "recorded:"; cat "$record"; return 1; }
}

(cd "$work" && exec "$work/prog/romdeck") &
romdeck_pid=$!
check "the program lists the ROMs" wait_for 20 window_named "Romdeck - 5 ROMs"
sleep 0.3

# "so" is one word: Sonic, not the first entry after the selected one that starts with "o".
xdotool type --delay 60 so
xdotool key Return
check "a word typed quickly, then Enter: a launch" wait_for 10 launched "$work/first"
check "of the entry the word starts, with its own options" as_expected "$work/first" "$work/roms/sonic.bin" -f3

# After a pause a new word starts: "s" steps to Streets, "s" again wraps to Sega Rally.
sleep 1.5
xdotool type --delay 60 ss
xdotool key Return
check "a letter typed twice, then Enter: a launch" wait_for 10 launched "$work/second"
check "of the second entry with that letter, with the Default options" as_expected "$work/second" "$work/roms/rally.bin"

report
