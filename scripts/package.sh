#!/bin/sh
# Installs what is missing, builds Corvale for release with Debian's build flags (hardening
# included) and makes the Debian package build/package/corvale_VERSION_ARCH.deb, then lets lintian
# check it (warnings are printed; an error fails the script).
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVALE_BUILD_BENCH=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build/package --target corvale corvale-cli corvale_man_pages corvale_changelog
(cd build/package && cpack -G DEB >/dev/null)
lintian --fail-on error --tag-display-limit 0 build/package/corvale_*.deb
ls build/package/corvale_*.deb
