#!/usr/bin/env bash
# The Debian package as `make package` makes it: named and versioned as the
# program, depending on the libraries the program links (worked out from the
# binary) and on what Qt and the program load at run time, holding exactly the
# installed files under /usr, with a program that runs.
# usage: package_test.sh BUILD_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
source "$here/installed_files.sh"

build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
begin_work
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" > "$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
deb=$work/out/romdeck_${version}_$(dpkg --print-architecture).deb
check "the package is named after the program, its version and architecture" [ -f "$deb" ]
field() { dpkg-deb -f "$deb" "$1"; }
check "its version is the program's" [ "$(field Version)" = "$version" ]
check "its description is one text, not a list" bash -c "! dpkg-deb -f '$deb' Description | grep -q ';'"
# The package names, without their versions, one a line.
depended=$(field Depends | tr ',' '\n' | sed 's/(.*//; s/ //g')
echo "Depends: $(field Depends)"
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-liberation; do
  check "it depends on $needed" grep -Fqx "$needed" <<< "$depended"
done
packaged_files() { dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort; }
check "it holds exactly the installed files" diff <(installed_files_expected) <(packaged_files)
check "none is owned by anyone but root" bash -c "! dpkg-deb -c '$deb' | awk '{ print \$2 }' | grep -v '^root/root$'"
dpkg-deb -x "$deb" "$work/root"
check "its program is stripped" bash -c "! readelf -S '$work/root/usr/bin/romdeck' | grep -q '\.symtab'"
check "its program runs" \
  [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/romdeck" --version)" = "romdeck $version" ]
report
