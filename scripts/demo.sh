#!/bin/sh
# Installs what is missing, builds Corvale and writes the pin and squares files of the bundled
# example log, and a map of each award, into out/.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target corvale-cli corvale
mkdir -p out
build/release/cli/corvale-cli all --squares --source-mdb examples/demo-log.mdb \
    --lst-dir out --squares-dir out --map-dir out
