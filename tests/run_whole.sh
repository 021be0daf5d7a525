#!/usr/bin/env bash
# Runs one test program whole, all of its cases in one process, so that a case
# that leaves program-wide state behind shows in the cases after it.
# As root the program runs as the unprivileged user nobody instead, so that the
# tests of refused reads and writes run rather than skip. It runs from a folder
# of its own that nobody can reach wherever the build tree lies, with a home
# and temporary folder there; ROMDECK_BINARY, the program the whole-program
# tests start, is copied there with the default picture beside it.
set -euo pipefail
program=$1
shift

if [ "$(id -u)" != 0 ]; then
    exec "$program" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/home" "$work/tmp" "$work/runtime"
cp "$program" "$work/"
if [ -n "${ROMDECK_BINARY:-}" ]; then
    cp "$ROMDECK_BINARY" "$work/romdeck"
    # The default picture the build writes beside the program goes with it.
    default_picture="$(dirname "$ROMDECK_BINARY")/romdeck.bmp"
    if [ -f "$default_picture" ]; then
        cp "$default_picture" "$work/"
    fi
    export ROMDECK_BINARY="$work/romdeck"
fi
chmod 755 "$work"
chmod 700 "$work/runtime"
chown -R nobody:nogroup "$work"
cd "$work"
HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" \
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
    "$work/$(basename "$program")" "$@"
