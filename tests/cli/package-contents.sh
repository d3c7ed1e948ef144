#!/usr/bin/env bash
# The Debian package of the build: it holds both programs, vq3's modules, the help file, the desktop entry, the
# icon and the examples, declares the Qt 6 libraries it needs, and its programs work from where it unpacks them.
set -uo pipefail
build=$1
version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
    echo "SKIP: dpkg-deb and dpkg-shlibdeps are needed"
    exit 77
fi
if ! cpack -G DEB -B "$tmp/out" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack did not build the package"
    exit 1
fi
deb=$(ls "$tmp"/out/quellmark_"$version"_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no quellmark_${version}_*.deb"; exit 1; }

dpkg-deb -c "$deb" | awk '{print $6}' >"$tmp/files"
for file in ./usr/bin/quellmark ./usr/bin/vq3 ./usr/lib/quellmark/libquellmark-link.so \
    ./usr/lib/quellmark/libquellmark-report.so ./usr/share/quellmark/vq3.hlp \
    ./usr/share/applications/quellmark.desktop ./usr/share/icons/hicolor/scalable/apps/quellmark.svg \
    ./usr/share/quellmark/examples/tracking.vq3 ./usr/share/quellmark/examples/nmea.vq3; do
    grep -qx "$file" "$tmp/files" || fail "the package lacks $file"
done
# Nothing of the build or the tests comes along.
if grep -Eq 'test|\.a$|/include/' "$tmp/files"; then
    fail "the package holds files of the build: $(grep -E 'test|\.a$|/include/' "$tmp/files" | tr '\n' ' ')"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6 qt6-qpa-plugins; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = quellmark ] || fail "the package is not named quellmark"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"

# Unpacked anywhere, the programs find their modules and examples beside them as they do under /usr.
dpkg-deb -x "$deb" "$tmp/root"
[ "$("$tmp/root/usr/bin/vq3" --version)" = "vq3 $version" ] || fail "vq3 --version"
[ "$("$tmp/root/usr/bin/quellmark" --version)" = "quellmark $version" ] || fail "quellmark --version"
"$tmp/root/usr/bin/vq3" compile "$tmp/root/usr/share/quellmark/examples/tracking.vq3" -o "$tmp/stream" ||
    fail "vq3 compile of the packaged example"
[ "$(stat -c %s "$tmp/stream" 2>/dev/null)" = 129 ] || fail "the compiled stream is not 129 bytes"
QUELLMARK_COM1=/dev/null "$tmp/root/usr/bin/vq3" ports >"$tmp/ports" 2>&1 || fail "vq3 ports: $(cat "$tmp/ports")"
grep -q '^COM1  /dev/null' "$tmp/ports" || fail "vq3 ports of the package: $(cat "$tmp/ports")"

[ "$failures" -eq 0 ] && echo "package ok: $(basename "$deb")"
exit $((failures > 0))
