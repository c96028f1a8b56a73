#!/bin/sh
# Builds Release and measures the large log (200,000 contacts):
#   - corvale-cli all --squares against mdb-export LOG QSO-TAB > /dev/null: wall times, their
#     ratio, and corvale-cli's peak resident memory (bench/time_runs.cpp, child processes);
#   - corvale-cli all --squares --export geojson,kml,csv against all --squares (at most 1.10);
#   - the same command on the ADIF log beside it (large-log.adi) against the Access log;
#   - the five award runs over the first 25,000, 50,000, 100,000 and 200,000 contacts: the cost
#     per contact, wall and CPU (bench/bench_awards.cpp);
#   - the read of a log edited for years (moved, deleted and stale rows) against the large log's,
#     per row (bench/bench_logdb.cpp);
#   - the map: loading its outlines, and repainting at 1920x1080 (bench/map/bench_map.cpp).
# Runs are interleaved and every figure is a median, so a busy machine blurs them less.
#
#   sh scripts/bench.sh [RUNS]      RUNS: runs of each measurement (default 7, at least 5)
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
runs=${1:-7}
build=build-perf

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVALE_BUILD_GUI=OFF >/dev/null
cmake --build "$build" --target corvale-cli time_runs bench_awards bench_logdb bench_map >/dev/null
log=$(realpath -m "$(sed -n 's/^CORVALE_LARGE_LOG:FILEPATH=//p' "$build/CMakeCache.txt")")
if [ ! -r "$log" ]; then
    echo "bench.sh: the large log \"$log\" is missing (set CORVALE_LARGE_LOG)." >&2
    exit 1
fi

echo "== corvale-cli against mdb-export"
"$build/bench/time_runs" "$build/cli/corvale-cli" "$log" "$runs" 2>/dev/null

adif=${log%.mdb}.adi
if [ -r "$adif" ]; then
    echo
    echo "== corvale-cli on the ADIF log against the same contacts' Access log"
    "$build/bench/time_runs" "$build/cli/corvale-cli" "$adif" "$runs" "$log" 2>/dev/null
fi

echo
echo "== the five award runs over the first N contacts (read once; sort, walk, write)"
"$build/bench/bench_awards" --benchmark_repetitions="$runs" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null |
    awk -F, '
    /_median"/ {
        split($1, part, "/")
        n = part[2] + 0
        wall[n] = $11 + 0
        cpu[n] = $4 * 1e6 / n   # cpu_time is in ms per iteration
    }
    END {
        printf "%10s %16s %16s\n", "contacts", "wall ns/contact", "CPU ns/contact"
        split("25000 50000 100000 200000", sizes, " ")
        for (i = 1; i <= 4; ++i)
            if (sizes[i] in wall)
                printf "%10d %16.0f %16.0f\n", sizes[i], wall[sizes[i]], cpu[sizes[i]]
        if (wall[25000] > 0 && cpu[25000] > 0) {
            w = wall[200000] / wall[25000]
            c = cpu[200000] / cpu[25000]
            printf "200,000 over 25,000: wall %.2fx, CPU %.2fx   (target <= 1.3x)%s\n", w, c,
                   (w <= 1.3 && c <= 1.3) ? "" : "   MISSED"
        }
    }'

echo
echo "== edited logs' reads against the large log's, per row (CPU time; wall time in brackets)"
"$build/bench/bench_logdb" --benchmark_filter=EditedLogPerRow --benchmark_format=csv 2>/dev/null |
    awk -F, '
    /^name,/ { for (i = 1; i <= NF; ++i) { header[i] = $i; gsub(/"/, "", header[i]) } }
    /EditedLogPerRow/ {
        for (i = 1; i <= NF; ++i) value[header[i]] = $i
        split($1, part, "/")
        printf "%-6s large %4.0f ns/row, edited %4.0f ns/row: %.2fx (%.2fx)   (target <= 1.5x)%s\n",
               part[2], value["large_cpu_ns_per_row"], value["edited_cpu_ns_per_row"],
               value["cpu_ratio_per_row"], value["ratio_per_row"],
               value["cpu_ratio_per_row"] <= 1.5 ? "" : "   MISSED"
    }'

echo
echo "== the map"
QT_QPA_PLATFORM=offscreen "$build/bench/bench_map" "$((runs * 3))" 2>/dev/null
