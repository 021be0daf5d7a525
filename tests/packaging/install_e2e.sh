#!/usr/bin/env bash
# The program installed as a user meets it. `cmake --install` with a prefix and
# DESTDIR puts the program, its default picture, menu entry, icons, AppStream
# metadata and manual page in place, each valid; the program answers --version
# and --help without a display. Started by an ordinary user (nobody, when the
# test runs as root) from a folder that user cannot write, under a virtual
# display: Play saves the settings to ~/.config/romdeck, the next start reads
# them back, and a portable copy keeps romdeck.ini beside itself.
# usage: install_e2e.sh BUILD_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
source "$here/installed_files.sh"

if [ -n "${ROMDECK_INSTALL_STAGE:-}" ]; then
  # --- as the ordinary user, on a virtual display --------------------------
  on_virtual_display 900 "$@"
  stage=$ROMDECK_INSTALL_STAGE
  installed=$stage/root/usr/bin/romdeck
  roms=$stage/roms
  user_settings=$HOME/.config/romdeck/romdeck.ini
  unset XDG_CONFIG_HOME
  romdeck_pid=
  trap 'stop_romdeck' EXIT

  window_of_size() { # a shown window of the program with this size, e.g. 428x246
    local id
    for id in $(xdotool search --onlyvisible --pid "$romdeck_pid" 2>/dev/null); do
      xdotool getwindowgeometry "$id" | grep -q "Geometry: $1\$" && return 0
    done
    return 1
  }
  # Starts the program from a folder; without an emulator it opens the
  # locations dialog, which Cancel closes. True once the caption reads $3.
  start_from() { # start_from FOLDER PROGRAM CAPTION
    (cd "$1" && exec "$2") &
    romdeck_pid=$!
    wait_for 20 window_of_size 428x246 || return 1
    sleep 0.3
    xdotool mousemove $((298 + 224 + 34)) $((261 + 216 + 12)) click 1
    wait_for 20 window_named "$3"
  }
  # Play saves before its checks; with no emulator set it then says so.
  play() {
    sleep 0.3
    click_at 150 406
    wait_for 10 window_named Error || return 1
    xdotool key Return
    wait_for 5 bash -c "! xdotool search --onlyvisible --name '^Error\$' >/dev/null 2>&1"
  }
  mode_of() { stat -c %a "$1"; }

  check "the installed program starts from a folder it cannot write" \
    start_from "$roms" "$installed" "Romdeck - 2 ROMs"
  check "Play with no emulator set shows the error" play
  check "Play saved to ~/.config/romdeck/romdeck.ini" grep -q $'^roms='"$roms"$'\r$' "$user_settings"
  check "the settings folder is the user's alone" [ "$(mode_of "$(dirname "$user_settings")")" = 700 ]
  check "nothing was written beside the installed program" [ ! -e "$stage/root/usr/bin/romdeck.ini" ]
  stop_romdeck
  check "the next start reads the settings back (the ROM folder is not the working folder)" \
    start_from "$HOME" "$installed" "Romdeck - 2 ROMs"
  stop_romdeck

  mkdir "$HOME/portable"
  cp "$installed" "$HOME/portable/romdeck"
  before=$(md5sum < "$user_settings")
  check "a portable copy starts" start_from "$roms" "$HOME/portable/romdeck" "Romdeck - 2 ROMs"
  check "Play in the portable copy" play
  check "the portable copy keeps romdeck.ini beside itself" \
    grep -q $'^roms='"$roms"$'\r$' "$HOME/portable/romdeck.ini"
  check "and leaves the user's settings alone" [ "$(md5sum < "$user_settings")" = "$before" ]
  stop_romdeck
  report
  exit
fi

# --- the install, as whoever runs the test -----------------------------------
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
app_id=org.example.romdeck
begin_work
stage=$work
root=$stage/root
DESTDIR=$root cmake --install "$build" --prefix /usr > "$stage/install.log"

installed_files() { (cd "$root" && find . -type f -o -type l) | sed 's|^\./||' | sort; }
check "the install holds exactly the program and its files" diff <(installed_files_expected) <(installed_files)
check "the desktop entry is valid" bash -c "[ -z \"\$(desktop-file-validate '$root/usr/share/applications/$app_id.desktop' 2>&1)\" ]"
check "the AppStream metadata is valid" \
  appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml"
icons_fit() {
  local side
  for side in 16 22 24 32 48 64 128 256; do
    [ "$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${side}x$side/apps/$app_id.png")" = "${side}x$side" ] ||
      return 1
  done
}
check "each icon has the size its folder names" icons_fit
check "the manual page reads without warnings" \
  bash -c "[ -z \"\$(zcat '$root/usr/share/man/man1/romdeck.1.gz' | groff -man -Tutf8 -ww -z 2>&1)\" ]"
check "the manual page names the version" bash -c "zcat '$root/usr/share/man/man1/romdeck.1.gz' | grep -q 'Romdeck $version'"

# Without a display a start that opened a window would fail.
for option in version help; do
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/romdeck" --$option \
    > "$stage/$option.out" 2> "$stage/$option.err" || status=$?
  check "--$option ends well without a display" [ "$status" -eq 0 ]
  check "--$option writes nothing but its answer" [ ! -s "$stage/$option.err" ]
done
check "--version answers on standard output" [ "$(cat "$stage/version.out")" = "romdeck $version" ]
check "--help answers on standard output" grep -q '^Usage: romdeck \[--help | --version\]$' "$stage/help.out"

# The user's part: a ROM folder and the installed tree the user cannot write,
# a home of the user's own, and these scripts where the user can read them.
mkdir -p "$stage/roms" "$stage/home/tmp" "$stage/scripts/packaging" "$stage/scripts/e2e"
cp "$here/install_e2e.sh" "$here/installed_files.sh" "$stage/scripts/packaging/"
cp "$here/../e2e/harness.sh" "$stage/scripts/e2e/"
make_rom "$stage/roms/Game One (USA).bin" "GAME ONE"
make_rom "$stage/roms/Game Two (USA).bin" "GAME TWO"
if [ "$(id -u)" = 0 ]; then
  chmod 755 "$stage"
  chown -R nobody:nogroup "$stage/home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod a-w "$stage/roms" "$root/usr/bin"
  as_user=()
fi
inner=0
# No emulator in PATH, so that the first start offers none and Play has none.
env -u XDG_CONFIG_HOME HOME="$stage/home" TMPDIR="$stage/home/tmp" ROMDECK_INSTALL_STAGE="$stage" \
  PATH="$(tr ':' '\n' <<< "$PATH" | grep -v games | paste -sd:)" "${as_user[@]}" "$stage/scripts/packaging/install_e2e.sh" "$build" || inner=$?
check "the installed program as an ordinary user" [ "$inner" -eq 0 ]
chmod -R u+w "$stage"
report
