#!/usr/bin/env bash
# Drives the real program under a virtual display with a Windows emulator: a
# stand-in cross-built here into a Windows .exe, started through Wine, which
# records its command line, its arguments as the Windows C runtime splits
# them and its working folder. Its arguments must be the words of the composed
# command line, for ROM paths with blanks, quotes, $( ), ; and a non-ASCII
# letter, in both command-line forms. The window keeps answering while Wine
# prepares its folder on the first run; without wine on PATH the start fails.
# usage: wine_launch_e2e.sh PATH_TO_ROMDECK PATH_TO_STANDIN_SOURCE
set -euo pipefail

source "$(dirname "$0")/harness.sh"
on_virtual_display 300 "$@"

binary=$1
standin_source=$2
for tool in wine wineserver x86_64-w64-mingw32-gcc iconv; do
  command -v "$tool" >/dev/null || { echo "FAILED: $tool is not installed"; exit 1; }
done

begin_work
# Wine reads file names in the locale's encoding, and they are UTF-8 here.
export LC_ALL=C.UTF-8
export WINEPREFIX="$work/wine prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Ends this prefix's server and every Wine process of it.
before_removing_work() { [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true; }

mkdir -p "$work/prog" "$work/roms dir" "$work/snap shots" "$work/emu dir" "$work/records" "$work/no wine"
cp "$binary" "$work/prog/romdeck"
# The KGen location is named as usual and has no run bit, as when unpacked from
# an archive; the Genecyst one has no .exe at all: both are told by content.
x86_64-w64-mingw32-gcc -O2 -o "$work/emu dir/kgen.exe" "$standin_source"
chmod -x "$work/emu dir/kgen.exe"
cp "$work/emu dir/kgen.exe" "$work/emu dir/Genecyst"
export STANDIN_RECORDS="$work/records"

# Listed by title: first the one that a Windows program can open, then one
# whose name Windows could not even hold.
rom_a="$work/roms dir/Pokémon (J) 'Gold' \$(id);x.bin"
rom_b="$work/roms dir/Say \"Hi\" & ;date.bin"
make_rom "$rom_a" "A GAME"
make_rom "$rom_b" "B GAME"
extra='-x "a b" c\"d '"'e'"

write_settings() { # write_settings USEKGEN
  printf '[General]\r\nroms=%s\r\npix=%s\r\nkgenloc=%s\r\ngeneloc=%s\r\ncdrom=\r\noptshowing=1\r\n[Default]\r\nusekgen=%s\r\nfskip=3\r\ncountry=3\r\ndissound=0\r\nextracmdline=%s\r\n' \
    "$work/roms dir" "$work/snap shots" "$work/emu dir/kgen.exe" "$work/emu dir/Genecyst" "$1" "$extra" \
    > "$work/prog/romdeck.ini"
}

start_romdeck() { # start_romdeck [ENV...]: true once the window lists both ROMs
  (cd "$work" && exec env "$@" "$work/prog/romdeck") &
  romdeck_pid=$!
  wait_for 20 window_named "Romdeck - 2 ROMs" && sleep 0.3
}

# Keys go to the main window even when a window of Wine's took the focus.
press() {
  xdotool search --onlyvisible --name "^Romdeck - 2 ROMs\$" windowfocus --sync >/dev/null 2>&1 || true
  xdotool key "$@"
}

record_count() { find "$RECORDS_DIR" -name 'launch.*' ! -name '*.tmp' | wc -l; }
records_reach() { [ "$(record_count)" -ge "$1" ]; }
RECORDS_DIR="$work/records"

# What the stand-in must have recorded, in UTF-8: its working folder, then each
# word, the ROM path marked as a file it can open when $2 says so.
expected_record() { # expected_record OPENS WORD...
  local opens=$1 word; shift
  printf 'folder=Z:%s\n' "${work//\//\\}\\snap shots"
  for word in "$@"; do
    if [ "$opens" = yes ] && [ "$word" = "$rom_a" ]; then printf '[%s] opens\n' "$word"
    else printf '[%s]\n' "$word"; fi
  done
}

# Every record holds the expected words, its bytes read as Windows-1252; the
# records checked are moved aside.
records_are() { # records_are OPENS WORD...
  local record ok=0
  for record in "$RECORDS_DIR"/launch.*; do
    if ! diff <(expected_record "$@") <(iconv -f WINDOWS-1252 -t UTF-8 "$record" | grep -v '^commandline='); then
      iconv -f WINDOWS-1252 -t UTF-8 "$record" | grep '^commandline='
      ok=1
    fi
    mv "$record" "$work/checked.$(basename "$record").$RANDOM"
  done
  return $ok
}

kgen_words() { printf '%s\n' "$1" -f3 -E -x "a b" 'c"d' "'e'"; }
genecyst_words() { printf '%s\n' -run "$1" -version Europe -x "a b" 'c"d' "'e'"; }
as_words() { local words=(); mapfile -t words; records_are "$1" "${words[@]}"; }

# --- KGen form; Wine's folder is made by the first launch ---------------------
write_settings 0
check "the program lists both ROMs" start_romdeck
press Home Return
# Current, then Play: a second launch, handled while Wine still prepares its
# folder, and the ROM's own option set saved at once.
click_at $((268 + 168 + 38)) $((68 + 12 + 8))
click_at 150 406
check "the window answers while Wine prepares its folder" \
  wait_for 5 grep -qxF "[$(basename "$rom_a")]"$'\r' "$work/prog/romdeck.ini"
check "no emulator has run yet at that moment" [ "$(record_count)" -eq 0 ]
check "both launches reach the emulator once Wine is ready" wait_for 180 records_reach 2
check "KGen form: the words of the command line, the file opens" as_words yes < <(kgen_words "$rom_a")

press Down Return
check "KGen form, quotes in the ROM name: launched" wait_for 30 records_reach 1
check "KGen form, quotes in the ROM name: the words of the command line" as_words no < <(kgen_words "$rom_b")
sleep 0.5
zombies=$(ps --ppid "$romdeck_pid" -o stat= | grep -c Z || true)
check "no zombie left behind" [ "$zombies" -eq 0 ]
stop_romdeck

# --- Genecyst form -------------------------------------------------------------
write_settings 1
start_romdeck
press Home Return
check "Genecyst form: launched" wait_for 30 records_reach 1
check "Genecyst form: the words of the command line, the file opens" as_words yes < <(genecyst_words "$rom_a")
press Down Return
check "Genecyst form, quotes in the ROM name: launched" wait_for 30 records_reach 1
check "Genecyst form, quotes in the ROM name: the words of the command line" as_words no < <(genecyst_words "$rom_b")
stop_romdeck

# --- no wine on PATH -------------------------------------------------------------
write_settings 0
start_romdeck PATH="$work/no wine"
press Home Return
check "without wine: an information box" wait_for 10 window_named Information
xdotool search --onlyvisible --name '^Information$' windowfocus --sync >/dev/null 2>&1 || true
xdotool key Return
check "the box closes" wait_for 5 bash -c "! xdotool search --onlyvisible --name '^Information\$' >/dev/null 2>&1"
check "without wine: no child left" [ "$(ps --ppid "$romdeck_pid" -o pid= | wc -l)" -eq 0 ]
stop_romdeck
sleep 1
check "without wine: no emulator ran" [ "$(record_count)" -eq 0 ]

report
