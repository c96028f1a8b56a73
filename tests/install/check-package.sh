#!/bin/sh
# Makes the Debian package of the build with CPack and checks it: dpkg-shlibdeps computed the
# Depends, the files lie where Debian wants them, and lintian reports no error (its warnings are
# printed).
# Usage: check-package.sh BUILD_DIR VERSION
. "$(dirname "$0")/scratch.sh"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$scratch/cpack.log")"
deb=$(ls "$scratch"/corvale_"$version"_*.deb) || fail "no package corvale_${version}_*.deb"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6 libmdb3 libglib2.0-0 libqt6svg6; do
    printf '%s\n' "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Section)" = hamradio ] || fail "section"
dpkg-deb -c "$deb" | grep ' ./usr/share/doc/corvale/examples/demo-log.mdb$' >/dev/null ||
    fail "the example log is not in /usr/share/doc/corvale/examples"

lintian --fail-on error --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$scratch/lintian.log")"
cat "$scratch/lintian.log"
echo "package checked: $(basename "$deb")"
