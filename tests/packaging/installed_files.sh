# The files an install or the package puts under /usr, one a line, sorted
# (sourced).
installed_files_expected() {
  local id=org.example.romdeck side
  {
    echo usr/bin/romdeck
    echo usr/lib/romdeck/romdeck-blastem
    echo usr/lib/romdeck/romdeck-mednafen
    echo "usr/share/applications/$id.desktop"
    for side in 16 22 24 32 48 64 128 256; do echo "usr/share/icons/hicolor/${side}x$side/apps/$id.png"; done
    echo usr/share/man/man1/romdeck.1.gz
    echo "usr/share/metainfo/$id.metainfo.xml"
    echo usr/share/romdeck/romdeck.bmp
  } | sort
}
