#!/usr/bin/env bash
# Starts Romdeck with the demo collection as its working folder. Without a
# display it runs under a virtual one for a few seconds and saves a screenshot.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cd "$build/demo"
# A first run opens on the preview panel, so that the demo's pictures show at
# once; the ROM and picture folders default to the working folder, the demo.
# With BlastEm installed, Play runs the demo's cartridges in it through our
# adapter; without it, the stand-in kgen.exe beside the program shows what it
# was asked to run.
# The adapter finds BlastEm in PATH, which leaves out Debian's games folders
# for root.
export PATH="$PATH:/usr/local/games:/usr/games"
if [ ! -e "$build/romdeck.ini" ]; then
  kgenloc=
  if command -v blastem >/dev/null; then
    kgenloc="$build/adapters/romdeck-blastem"
  fi
  printf '[General]\r\noptshowing=0\r\nkgenloc=%s\r\n' "$kgenloc" > "$build/romdeck.ini"
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/romdeck"
fi
echo "No display found: running Romdeck under xvfb-run for a few seconds."
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1/romdeck" & pid=$!
  sleep 4
  import -window root "$1/screenshot.png"
  kill $pid' _ "$build"
echo "Screenshot of the screen: $build/screenshot.png"
