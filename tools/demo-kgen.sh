#!/bin/sh
# Demo stand-in for the KGen emulator: shows what it was asked to run.
echo "KGen stand-in started in $(pwd) with:"
for argument in "$@"; do echo "  [$argument]"; done
