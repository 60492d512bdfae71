#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and checks it as a Debian system takes it: its
# name, the packages it depends on, exactly the files it installs, its AppStream data
# (appstreamcli) and lintian, which also checks the desktop entry.
# usage: check-package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2

fail() {
    echo "package: FAIL: $*" >&2
    exit 1
}
work=$(mktemp -d "${TMPDIR:-/tmp}/corvanta-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
deb=$work/corvanta_${version}_amd64.deb

field() { dpkg-deb -f "$deb" "$1"; }
# What dpkg-shlibdeps sees, and what it cannot: SDL, loaded at the first play, and the fonts.
for dependency in libqt6widgets6 libqt6dbus6 libcdio19 libsndfile1 libdiscid0 libxcb1 libicu72 libsdl2-2.0-0 fonts-noto-cjk; do
    [[ ", $(field Depends)," == *", $dependency"[\ ,]* ]] ||
        fail "Depends lacks $dependency: $(field Depends)"
done

expected="./usr/bin/corvanta
./usr/bin/corvanta-check
./usr/bin/corvanta-lrc
./usr/share/applications/io.github.corvanta.Corvanta.desktop
./usr/share/doc/corvanta/changelog.gz
./usr/share/doc/corvanta/copyright
./usr/share/icons/hicolor/128x128/apps/corvanta.png
./usr/share/icons/hicolor/32x32/apps/corvanta.png
./usr/share/icons/hicolor/64x64/apps/corvanta.png
./usr/share/icons/hicolor/scalable/apps/corvanta.svg
./usr/share/man/man1/corvanta-check.1.gz
./usr/share/man/man1/corvanta-lrc.1.gz
./usr/share/man/man1/corvanta.1.gz
./usr/share/metainfo/io.github.corvanta.Corvanta.metainfo.xml
./usr/share/mime/packages/io.github.corvanta.Corvanta.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$files" = "$expected" ] || fail "the package holds other files:
$(diff <(echo "$expected") <(echo "$files") || true)"

dpkg-deb -x "$deb" "$work/root"
# Start-up loads what the first window needs: SDL and libsndfile come at the first play and rip,
# libwayland-client only on Wayland.
needed=$(objdump -p "$work/root/usr/bin/corvanta" | awk '$1 == "NEEDED" { print $2 }')
! grep -E '^lib(SDL2|sndfile|pulse|wayland-client)' <<<"$needed" || fail "the program links $(paste -sd ' ' <<<"$needed")"
metainfo=$work/root/usr/share/metainfo/io.github.corvanta.Corvanta.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
# The desktop entry opens what the program opens: a cue sheet, an image, a folder.
desktop=$work/root/usr/share/applications/io.github.corvanta.Corvanta.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'MimeType=application/x-cue;application/x-cdrdao-toc;application/x-nrg;inode/directory;' \
    "$desktop" || fail "the desktop entry opens $(grep MimeType "$desktop")"
grep -qx 'Exec=corvanta %f' "$desktop" || fail "the desktop entry runs $(grep Exec "$desktop")"
# Under X11 a shell ties the window, of class Corvanta, to this entry; Wayland brings qt6-wayland.
grep -qx 'StartupWMClass=Corvanta' "$desktop" || fail "the desktop entry names no window class"
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends: $(field Recommends)"
grep -q "<release version=\"$version\"" "$metainfo" || fail "AppStream data without release $version"

lintian --fail-on error,warning "$deb" 2>/dev/null || fail "lintian: $(lintian "$deb" 2>&1)"
echo "package: PASS: $(basename "$deb"), Depends: $(field Depends)"
