#!/bin/sh
# Installs what is missing, builds Corvale with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVALE_SANITIZE=ON \
    -DCORVALE_BUILD_BENCH=OFF >/dev/null
cmake --build build/sanitize
ctest --test-dir build/sanitize --output-on-failure -j 2
