#!/usr/bin/env bash
# Plays a cartridge of the demo through the BlastEm adapter: Play in the real
# program starts BlastEm on it, and BlastEm's window shows the colour that the
# cartridge's code sets (red for ROCKET.BIN). Sound is off, as Xvfb has no
# sound device, and "-g" in the extra text turns OpenGL off, which Xvfb lacks.
# usage: blastem_play_e2e.sh PATH_TO_ROMDECK PATH_TO_ROMDECK_BLASTEM DEMO_FOLDER
set -euo pipefail

# Root's PATH leaves out Debian's games folders, where blastem lies.
export PATH="$PATH:/usr/local/games:/usr/games"
if ! command -v blastem >/dev/null; then
  echo "skipped: blastem is not installed (make test installs it)"
  exit 77
fi
source "$(dirname "$0")/harness.sh"
on_virtual_display 700 "$@"

binary=$1 adapter=$2 demo=$3
begin_work
mkdir -p "$work/prog" "$work/roms" "$work/home"
cp "$binary" "$work/prog/romdeck"
cp "$demo/ROCKET.BIN" "$work/roms/"
export HOME="$work/home"
printf '[General]\r\nroms=%s\r\npix=%s\r\nkgenloc=%s\r\n[Default]\r\nusekgen=0\r\ncountry=2\r\ndissound=1\r\nextracmdline=-g\r\n' \
  "$work/roms" "$work/roms" "$adapter" > "$work/prog/romdeck.ini"

(cd "$work" && exec "$work/prog/romdeck") &
romdeck_pid=$!
check "the program lists the cartridge" wait_for 20 window_named "Romdeck - 1 ROMs"
sleep 0.3
click_at 150 406

# BlastEm says in a box of its own that Xvfb cannot set vsync; OK goes on.
game_window() { xdotool search --onlyvisible --name '^ROCKET KNIGHT ADVENTURES - BlastEm' 2>/dev/null | head -1; }
answer_vsync_box() {
  local width height x y
  [ -n "$(game_window)" ] && return 0
  read -r width height x y < <(xwininfo -root -tree | grep -o '"BlastEm Info": ()  [0-9x+]*' |
    grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | tr 'x+' '  ') || return 1
  xdotool mousemove $((x + width / 2)) $((y + height - 28)) click 1
  return 1
}
check "BlastEm plays the cartridge, its title in the window's name" wait_for 30 answer_vsync_box

window_colour() {
  eval "$(xdotool getwindowgeometry --shell "$(game_window)")"
  import -window root -crop 1x1+$((X + WIDTH / 2))+$((Y + HEIGHT / 2)) -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1
}
shows_red() {
  local colour
  colour=$(window_colour) || return 1
  [ $((16#${colour:1:2})) -ge 192 ] && [ $((16#${colour:3:2})) -le 64 ] && [ $((16#${colour:5:2})) -le 64 ]
}
check "the emulator's window shows the cartridge's red" wait_for 20 shows_red
echo "colour at the window's centre: $(window_colour)"
# The emulator runs detached from the program: it is told by the HOME that
# only this test gives. SIGTERM only asks SDL to quit, which BlastEm may not
# get to before the display goes.
before_removing_work() {
  local pid
  for pid in $(grep -lzx "HOME=$work/home" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    kill -KILL "$pid" 2>/dev/null || true
  done
}
report
