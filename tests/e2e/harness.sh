# Shared by the whole-program scripts (sourced): a virtual display of their
# own, a scratch folder removed at the end together with the program, checks
# counted and reported, and the main window reached with xdotool.

# Runs the calling script again under xvfb-run, unless it already runs there.
# Tests run in parallel: each starts its search for a free display at FIRST
# plus a number of its own. The screen is 1024 x 768 unless E2E_SCREEN says.
on_virtual_display() { # on_virtual_display FIRST ARGS...
  local first=$1; shift
  if [ -z "${ROMDECK_E2E_INNER:-}" ]; then
    export ROMDECK_E2E_INNER=1
    exec xvfb-run -a -n $((first + $$ % 300)) -s "-screen 0 ${E2E_SCREEN:-1024x768x24} -nolisten tcp -noreset" \
      "$0" "$@"
  fi
}

# Makes $work; at exit the program started as $romdeck_pid is killed, a
# script's own before_removing_work runs if it has one, and $work goes.
begin_work() {
  work=$(mktemp -d)
  romdeck_pid=
  trap end_work EXIT
}
end_work() {
  [ -n "$romdeck_pid" ] && kill "$romdeck_pid" 2>/dev/null || true
  if declare -F before_removing_work >/dev/null; then before_removing_work; fi
  rm -rf "$work"
}

failures=0
passes=0
check() { # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passes=$((passes + 1)); echo "ok: $what"
  else failures=$((failures + 1)); echo "FAILED: $what"; fi
}
report() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}

wait_for() { # wait_for SECONDS COMMAND...: true once COMMAND succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

window_named() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# The main window is centred on the 1024 x 768 screen.
click_at() { xdotool mousemove $((224 + $1)) $((171 + $2)) click "${3:-1}"; }

stop_romdeck() {
  kill "$romdeck_pid" 2>/dev/null || true
  wait "$romdeck_pid" 2>/dev/null || true
  romdeck_pid=
}

# A plain ROM image whose header title is $2.
make_rom() {
  head -c 1024 /dev/zero > "$1"
  printf '%s' "$2" | dd of="$1" bs=1 seek=288 conv=notrunc status=none
}

# A visible window of the program of the given size ("600x318"): the dialogs
# are told apart by their sizes.
window_sized() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$romdeck_pid" 2>/dev/null); do
    xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: $1\$" && return 0
  done
  return 1
}

# The general error box: a shown window captioned with the program's title
# that is not the 576 x 425 main window (whose caption may read the same).
error_box() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Romdeck$' 2>/dev/null); do
    xdotool getwindowgeometry "$id" | grep -q 'Geometry: 576x425' || { echo "$id"; return 0; }
  done
  return 1
}
error_box_up() { error_box >/dev/null; }
no_error_box() { ! error_box_up; }

# The colour ("#RRGGBB") on the screen at a point of the main window.
colour_at() {
  import -window root -crop 1x1+$((224 + $1))+$((171 + $2)) -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1
}
colour_is() { [ "$(colour_at "$1" "$2")" = "$3" ]; }

# A picture of one colour (a ppmmake colour: red, rgb:00/ff/00), as PCX.
make_picture() { ppmmake "$2" 8 8 | ppmtopcx > "$1" 2>/dev/null; }
