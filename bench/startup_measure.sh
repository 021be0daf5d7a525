#!/usr/bin/env bash
# Start-up with a large collection: the time from starting the program to its
# filled list (the caption reads "Romdeck - N ROMs"), and its peak memory.
# The program runs under a virtual display from a temporary program folder,
# with a stand-in KGen and a romdeck.ini pointing at N synthetic ROMs.
#
#   bench/startup_measure.sh [BUILD_FOLDER] [N] [RUNS]
#
# BUILD_FOLDER holds romdeck and bench/scan_bench (default build-bench).
set -euo pipefail

if [ "${1:-}" = --inside ]; then
  # Under xvfb-run: one measured start.
  work=$2 count=$3
  caption="Romdeck - $count ROMs"
  start=$(date +%s%N)
  /usr/bin/time -v -o "$work/time.txt" "$work/program/romdeck" 2>/dev/null &
  timer=$!
  found=
  for _ in $(seq 1 6000); do   # up to two minutes
    if xdotool search --name "^$caption\$" >/dev/null 2>&1; then found=1; break; fi
    sleep 0.02
  done
  end=$(date +%s%N)
  program=$(pgrep -P "$timer" || true)
  [ -n "$program" ] && kill "$program"
  wait "$timer" || true
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
  if [ -z "$found" ]; then
    echo "the caption never read \"$caption\"" >&2
    exit 1
  fi
  printf 'start to filled list: %5d ms   peak resident memory: %6.1f MiB\n' \
    $(( (end - start) / 1000000 )) "$(echo "$peak / 1024" | bc -l)"
  exit 0
fi

build=$(cd "${1:-build-bench}" && pwd)
count=${2:-10000}
runs=${3:-3}
for tool in xvfb-run xdotool bc /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/program" "$work/roms"
# A copy, not a link: the program's folder is where its file really lies.
cp "$build/romdeck" "$work/program/romdeck"
printf '#!/bin/sh\nexit 0\n' >"$work/program/kgen.exe"
chmod +x "$work/program/kgen.exe"
printf '[General]\r\nroms=%s\r\nkgenloc=%s\r\n' "$work/roms" "$work/program/kgen.exe" >"$work/program/romdeck.ini"
"$build/bench/scan_bench" --write-roms "$work/roms" "$count"

echo "Romdeck start-up with $count ROMs ($runs runs):"
for _ in $(seq 1 "$runs"); do
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$work" "$count"
done
