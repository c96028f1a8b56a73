#!/bin/sh
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each on its corpus for SECONDS (default 600), one after the other.
#
#   sh scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET: log adi adx ini registry locator
#                                                map_outlines
#                                                (default all)
#
# New inputs that reach new code go to build-fuzz/corpus/TARGET (the committed seeds in
# fuzz/corpus/TARGET are only read). A crash leaves crash-* in build-fuzz/findings/TARGET, ends
# that target's run, and makes the script's status non-zero; minimise it with
#   build-fuzz/fuzz/fuzz_TARGET -minimize_crash=1 -runs=100000 CRASH
# and add the result to fuzz/corpus/TARGET with a regression test in tests/faults.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-600}
[ $# -gt 0 ] && shift
targets=${*:-log adi adx ini registry locator map_outlines}
sh scripts/install-deps.sh clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVALE_BUILD_FUZZ=ON -DCORVALE_SANITIZE=ON -DCORVALE_BUILD_GUI=OFF \
    -DCORVALE_BUILD_BENCH=OFF >/dev/null
for target in $targets; do
    cmake --build build-fuzz --target "fuzz_$target"
done

# A huge allocation asked for by a damaged file fails as malloc would, instead of stopping the run.
export ASAN_OPTIONS="${ASAN_OPTIONS:-allocator_may_return_null=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
for target in $targets; do
    corpus=build-fuzz/corpus/$target
    findings=build-fuzz/findings/$target
    mkdir -p "$corpus" "$findings"
    # The log target needs room for whole database pages; the others stay small.
    case $target in
    log) limits="-max_len=270336 -rss_limit_mb=2048 -timeout=20" ;;
    adi | adx) limits="-max_len=65536 -timeout=10" ;;
    *) limits="-max_len=4096 -timeout=5" ;;
    esac
    echo "== fuzz_$target: $seconds s"
    # shellcheck disable=SC2086
    if ! "build-fuzz/fuzz/fuzz_$target" $limits -max_total_time="$seconds" \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$target"; then
        echo "fuzz_$target found a fault: see $findings" >&2
        status=1
    fi
done
exit $status
