#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# their own build directory and runs them on the fixtures as seeds.
#
#   scripts/fuzz.sh                      every target for 5 seconds (the test command's run)
#   scripts/fuzz.sh -t 60 picture ini    the named targets for 60 seconds each
#   scripts/fuzz.sh -r 1000000 xls       a target for a number of executions (long runs)
#   scripts/fuzz.sh -r 1000000 -t 900 xls    whichever comes first
#
# Targets: picture exif ini taskfile xls xlsx xlsx_parts. A finding (crash, sanitizer report,
# broken promise, leak, timeout, memory over the limit) fails the run; its input is kept under
# build-fuzz/findings/<target>/. The corpus grown by a run stays in build-fuzz/corpus/<target>.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PORTIQA_FUZZ_BUILD:-$root/build-fuzz}"
fixtures="$root/tests/fixtures"

seconds=""
runs=""
while getopts "t:r:" option; do
    case "$option" in
    t) seconds="$OPTARG" ;;
    r) runs="$OPTARG" ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(picture exif ini taskfile xls xlsx xlsx_parts)

# Seeds and dictionary of each target. Regression inputs of earlier findings are seeds too,
# so every run replays them under the sanitizers.
seeds_of() {
    case "$1" in
    picture) echo "$fixtures/image $fixtures/output $fixtures/fuzz/picture" ;;
    exif) echo "$root/fuzz/seeds/exif $fixtures/fuzz/exif" ;;
    ini) echo "$fixtures/ini $root/fuzz/seeds/taskfile $fixtures/fuzz/ini" ;;
    taskfile) echo "$root/fuzz/seeds/taskfile $fixtures/fuzz/taskfile" ;;
    xls | xlsx) echo "$fixtures/roster $fixtures/fuzz/$1" ;;
    xlsx_parts) echo "$root/fuzz/seeds/xlsx_parts $fixtures/fuzz/xlsx_parts" ;;
    esac
}
dict_of() {
    case "$1" in
    taskfile) echo ini ;;
    xlsx_parts) echo xlsx ;;
    *) echo "$1" ;;
    esac
}

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPORTIQA_FUZZ=ON > /dev/null
fi
cmake --build "$build" -j"${PORTIQA_JOBS:-$(nproc)}" --target fuzzers

# The program's own decode limits allow a 200-megapixel picture (800 MB of pixels); the
# fuzzer's memory caps sit above what such a decode needs, so they report leaks and runaway
# growth, not the limits the program chose.
export ASAN_OPTIONS="${ASAN_OPTIONS:-allocator_may_return_null=1:detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen

status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    # Whole workbooks of 10,000 rows teach nothing a small one does not and slow every step.
    for folder in $(seeds_of "$target"); do
        if [[ -d "$folder" ]]; then find "$folder" -maxdepth 1 -type f -size -300k \
            ! -name '*.py' ! -name '*.js' ! -name '*.sh' ! -name '*.md' -exec cp -n {} "$corpus/" \;; fi
    done
    # Executions, time or both (whichever comes first); 5 seconds when neither is given.
    limit=()
    [[ -n "$runs" ]] && limit+=(-runs="$runs")
    [[ -n "$seconds" || -z "$runs" ]] && limit+=(-max_total_time="${seconds:-5}")
    echo "== fuzz_$target ${limit[*]}"
    # Leaks inside libfreexl and libgsf are suppressed by library (fuzz/lsan.supp); their frames
    # show only when the stacks of allocations are unwound without frame pointers.
    options="$ASAN_OPTIONS"
    [[ "$target" == xls ]] && options="$options:fast_unwind_on_malloc=0"
    set +e
    ASAN_OPTIONS="$options" "$build/fuzz/fuzz_$target" "$corpus" -dict="$root/fuzz/dict/$(dict_of "$target").dict" \
        "${limit[@]}" -rss_limit_mb=4096 -malloc_limit_mb=2048 -timeout=30 \
        -artifact_prefix="$findings/" -print_final_stats=1 > "$build/fuzz_$target.log" 2>&1
    result=$?
    set -e
    grep -E '^(#[0-9]+ +DONE|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)|SUMMARY|broken promise)' \
        "$build/fuzz_$target.log" || true
    if [[ $result -ne 0 ]]; then
        echo "fuzz_$target found a fault: see $build/fuzz_$target.log and $findings/" >&2
        status=1
    fi
done
exit $status
