#!/usr/bin/env bash
# Runs the start-up benchmark and the scan benchmark as a user's desktop runs
# the program: under a virtual X server (xvfb-run) with a window manager
# (openbox), which redraws the title bar at every caption change.
#
#   bench/startup_measure.sh [--share] [BUILD_FOLDER] [benchmark options...]
#
# With --share it runs the share benchmark instead (share_bench: the program
# and its floors over the latency file system, which it mounts itself).
# BUILD_FOLDER holds romdeck and bench/ (default build-bench, made by `make
# bench`). The options go to the programs, for example
#   --benchmark_filter=10000 --benchmark_enable_random_interleaving=true
# STARTUP_ROMDECK=PATH times another build of the program.
set -euo pipefail

if [ "${1:-}" = --inside ]; then
  what=$2
  build=$3
  shift 3
  openbox >/dev/null 2>&1 &
  wm=$!
  trap 'kill $wm 2>/dev/null || true' EXIT
  # The window manager is up once it has announced itself on the root window.
  for _ in $(seq 1 500); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.01
  done
  if [ "$what" = share ]; then
    echo "== a collection on a share, under X with openbox"
    "$build/bench/share_bench" ${STARTUP_ROMDECK:+--romdeck "$STARTUP_ROMDECK"} "$@"
    exit 0
  fi
  echo "== start-up under X with openbox"
  "$build/bench/startup_bench" ${STARTUP_ROMDECK:+--romdeck "$STARTUP_ROMDECK"} "$@"
  echo "== scan under X with openbox"
  QT_QPA_PLATFORM=xcb "$build/bench/scan_bench" "$@"
  exit 0
fi

what=startup
if [ "${1:-}" = --share ]; then
  what=share
  shift
fi
build=$(cd "${1:-build-bench}" && pwd)
[ $# -gt 0 ] && shift
for tool in xvfb-run openbox xprop; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (make bench installs it)" >&2; exit 1; }
done
exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$what" "$build" "$@"
