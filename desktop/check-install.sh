#!/bin/sh
# Installs the build into a temporary folder as `make install DESTDIR=...` does
# and checks what a desktop reads from it.
set -eu
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
prefix=/usr/local
DESTDIR=$dest cmake --install "$build" --prefix "$prefix" > /dev/null
root=$dest$prefix
fail=0
for f in bin/glyphwick bin/glyphwick-print bin/glyphwick-fonts \
         share/applications/org.glyphwick.Glyphwick.desktop \
         share/metainfo/org.glyphwick.Glyphwick.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.glyphwick.Glyphwick.svg \
         share/icons/hicolor/48x48/apps/org.glyphwick.Glyphwick.png \
         share/icons/hicolor/256x256/apps/org.glyphwick.Glyphwick.png \
         share/man/man1/glyphwick-print.1 share/man/man1/glyphwick-fonts.1 \
         share/glyphwick/gw.html; do
    [ -s "$root/$f" ] || { echo "not installed: $prefix/$f"; fail=1; }
done
desktop-file-validate "$root/share/applications/org.glyphwick.Glyphwick.desktop" || fail=1
appstreamcli validate --no-net "$root/share/metainfo/org.glyphwick.Glyphwick.metainfo.xml" || fail=1
[ "$fail" = 0 ] && echo "installed and valid: $prefix"
exit $fail
