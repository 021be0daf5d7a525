#!/usr/bin/env bash
# Drives the real program from outside under a virtual display: Enter, double
# click and the Play button each start a stand-in emulator, which records its
# arguments and working folder; the messages for no selection, a missing
# location and a failed start come up; settings are written before a launch.
# usage: launch_e2e.sh PATH_TO_ROMDECK
set -euo pipefail

source "$(dirname "$0")/harness.sh"
on_virtual_display 600 "$@"

binary=$1
begin_work

mkdir -p "$work/prog" "$work/roms dir" "$work/pix" "$work/emu dir" "$work/records" "$work/empty"
cp "$binary" "$work/prog/romdeck"
cat > "$work/emu dir/kgen stand-in" <<'STANDIN'
#!/bin/sh
out="$RECORDS/launch.$$"
{ pwd; for a in "$@"; do printf '[%s]\n' "$a"; done; } > "$out.tmp"
mv "$out.tmp" "$out"
STANDIN
chmod +x "$work/emu dir/kgen stand-in"
printf 'not a program\n' > "$work/emu dir/not-executable"
make_rom "$work/roms dir/Game One (USA).bin" "GAME ONE"
export RECORDS="$work/records"

write_settings() { # write_settings ROMFOLDER KGENLOC GENELOC USEKGEN
  printf '[General]\r\nroms=%s\r\npix=%s\r\nkgenloc=%s\r\ngeneloc=%s\r\ncdrom=\r\noptshowing=1\r\n[Default]\r\nusekgen=%s\r\nfskip=3\r\ncountry=3\r\ndissound=0\r\nextracmdline=-x "a b"\r\n' \
    "$1" "$work/pix" "$2" "$3" "$4" > "$work/prog/romdeck.ini"
}

start_romdeck() { # start_romdeck EXPECTED_CAPTION: true once the caption reads so
  (cd "$work" && exec "$work/prog/romdeck") &
  romdeck_pid=$!
  wait_for 20 window_named "$1" && sleep 0.3
}

launch_count() { find "$RECORDS" -name 'launch.*' ! -name '*.tmp' | wc -l; }
launches_reach() { [ "$(launch_count)" -ge "$1" ]; }

expected_record() {
  printf '%s\n[%s]\n[-f3]\n[-E]\n[-x]\n[a b]\n' "$work/pix" "$work/roms dir/Game One (USA).bin"
}
records_match() { # every record is the expected one
  local record
  for record in "$RECORDS"/launch.*; do
    diff <(expected_record) "$record" >/dev/null || { echo "unexpected record:"; cat "$record"; return 1; }
  done
}

# --- Enter, double click and Play launch the selected ROM --------------------
write_settings "$work/roms dir" "$work/emu dir/kgen stand-in" "" 0
rm -f "$work/prog/romdeck.ini.saved"
check "the program lists the ROM" start_romdeck "Romdeck - 1 ROMs"

xdotool key Return
check "Enter starts the emulator" wait_for 10 launches_reach 1
check "settings written before the launch" grep -q $'^optshowing=1\r$' "$work/prog/romdeck.ini"

xdotool mousemove $((224 + 60)) $((171 + 10)) click --repeat 2 --delay 60 1
check "a double click starts the emulator" wait_for 10 launches_reach 2

click_at 150 406
check "the Play button starts the emulator" wait_for 10 launches_reach 3
check "arguments and working folder as composed" records_match

# "Current" for a ROM without a set of its own, then Play: the set is stored.
click_at $((268 + 168 + 38)) $((68 + 12 + 8))
click_at 150 406
check "Play in Current mode starts the emulator" wait_for 10 launches_reach 4
check "Play in Current mode stores the ROM's own set" \
  grep -q $'^\\[Game One (USA).bin\\]\r$' "$work/prog/romdeck.ini"
sleep 0.5
zombies=$(ps --ppid "$romdeck_pid" -o stat= | grep -c Z || true)
check "no zombie left behind" [ "$zombies" -eq 0 ]
stop_romdeck

# --- the messages --------------------------------------------------------------
answer_box() { xdotool key Return; wait_for 5 bash -c "! xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1"; }

write_settings "$work/empty" "$work/emu dir/kgen stand-in" "" 0
start_romdeck "Romdeck - 0 ROMs"
before=$(launch_count)
click_at 150 406
check "no selection: an error box" wait_for 10 window_named Error
answer_box Error
stop_romdeck

write_settings "$work/roms dir" "" "$work/emu dir/kgen stand-in" 0
start_romdeck "Romdeck - 1 ROMs"
click_at 150 406
check "KGen chosen without its location: an error box" wait_for 10 window_named Error
answer_box Error
stop_romdeck

write_settings "$work/roms dir" "$work/emu dir/not-executable" "" 0
chmod -x "$work/emu dir/not-executable"
start_romdeck "Romdeck - 1 ROMs"
click_at 150 406
check "a start that fails: an information box" wait_for 10 window_named Information
answer_box Information
stop_romdeck
check "no launch from the failing cases" [ "$(launch_count)" -eq "$before" ]

report
