#!/usr/bin/env bash
# The Debian package holds both programs, vq3's modules, the help file, the desktop entry, the icon and the
# examples and nothing of the build, declares the Qt 6 libraries it needs, and works from where it is unpacked.
set -uo pipefail
build=$1
version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null || { echo "SKIP: no dpkg-deb"; exit 77; }
cpack -G DEB -B "$tmp/out" --config "$build/CPackConfig.cmake" >"$tmp/log" 2>&1 || fail "cpack: $(cat "$tmp/log")"
deb=$(ls "$tmp"/out/quellmark_"$version"_*.deb) || fail "no quellmark_${version}_*.deb"
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$tmp/files"
for file in bin/quellmark bin/vq3 lib/quellmark/libquellmark-link.so lib/quellmark/libquellmark-report.so \
    share/quellmark/vq3.hlp share/applications/quellmark.desktop share/icons/hicolor/scalable/apps/quellmark.svg \
    share/quellmark/examples/tracking.vq3; do
    grep -qx "./usr/$file" "$tmp/files" || fail "the package lacks $file"
done
! grep -E 'test|\.a$|/include/' "$tmp/files" || fail "the package holds files of the build"
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6 qt6-qpa-plugins; do
    [[ "$(dpkg-deb -f "$deb" Depends)" == *"$library"* ]] || fail "Depends lacks $library"
done
[ "$(dpkg-deb -f "$deb" Package Version | tr '\n' ' ')" = "Package: quellmark Version: $version " ] ||
    fail "the package's name or version: $(dpkg-deb -f "$deb" Package Version)"
dpkg-deb -x "$deb" "$tmp/root"
[ "$("$tmp/root/usr/bin/vq3" --version)" = "vq3 $version" ] || fail "vq3 --version"
[ "$("$tmp/root/usr/bin/quellmark" --version)" = "quellmark $version" ] || fail "quellmark --version"
"$tmp/root/usr/bin/vq3" compile "$tmp/root/usr/share/quellmark/examples/tracking.vq3" --hex | grep -q '^44 03' ||
    fail "vq3 compile of the packaged example"
QUELLMARK_COM1=/dev/null "$tmp/root/usr/bin/vq3" ports | grep -q '^COM1  /dev/null' || fail "vq3 ports of the package"
echo "package ok: $(basename "$deb")"
