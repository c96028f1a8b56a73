#!/bin/sh
# Installs the Debian packages that Corvale needs to build, test and run, when any is missing,
# and any further packages named on the command line.
set -eu
packages="build-essential cmake ninja-build pkg-config git clang-format \
    mdbtools mdbtools-dev libcli11-dev nlohmann-json3-dev libxml2-dev \
    qt6-base-dev qt6-svg-dev libgl-dev libqt6svg6 \
    libgtest-dev libgmock-dev libbenchmark-dev gdal-bin libxml2-utils $*"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
