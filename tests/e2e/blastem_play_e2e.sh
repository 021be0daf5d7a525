#!/usr/bin/env bash
# Play on the demo's ROCKET.BIN through the BlastEm adapter, sound off and -g (Xvfb has neither
# sound nor OpenGL): BlastEm's window shows the cartridge's red. usage: ROMDECK ROMDECK_BLASTEM DEMO
set -euo pipefail
export PATH="$PATH:/usr/local/games:/usr/games" # root's PATH leaves them out
command -v blastem >/dev/null || { echo "skipped: blastem is not installed (make test installs it)"; exit 77; }
source "$(dirname "$0")/harness.sh"
on_virtual_display 700 "$@"
begin_work
mkdir -p "$work/prog" "$work/roms" "$work/home" && cp "$3/ROCKET.BIN" "$work/roms/" && cp "$1" "$work/prog/romdeck"
printf '[General]\r\nroms=%s\r\nkgenloc=%s\r\n[Default]\r\ncountry=2\r\ndissound=1\r\nextracmdline=-g\r\n' "$work/roms" "$2" > "$work/prog/romdeck.ini"
(cd "$work" && HOME="$work/home" exec "$work/prog/romdeck") & romdeck_pid=$!
check "the program lists the cartridge" wait_for 20 window_named "Romdeck - 1 ROMs"
sleep 0.3 && click_at 150 406
playing() { # OK in BlastEm's box saying that Xvfb cannot set vsync, until the game shows
  xdotool search --onlyvisible --name '^ROCKET KNIGHT ADVENTURES - BlastEm' >/dev/null && return
  read -r w h x y < <(xwininfo -root -tree | grep -o '"BlastEm Info": ()  [0-9x+]*' | grep -o '[0-9x+]*$' | tr x+ '  ') &&
    xdotool mousemove $((x + w / 2)) $((y + h - 28)) click 1
  return 1
}
check "BlastEm plays the cartridge, its title in the window's name" wait_for 30 playing
check "BlastEm's window, centred on the screen as the program's, shows the cartridge's red" wait_for 20 colour_is 288 213 '#FF0000'
# BlastEm runs detached, told by its HOME; SIGTERM only asks SDL to quit.
before_removing_work() { grep -lzx "HOME=$work/home" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 | xargs -r kill -KILL || true; }
report
