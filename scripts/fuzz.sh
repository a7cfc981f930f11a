#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# their own build directory and runs them on the fixtures as seeds.
#
#   scripts/fuzz.sh                      every target for 5 seconds (the test command's run)
#   scripts/fuzz.sh -t 60 picture ini    the named targets for 60 seconds each
#   scripts/fuzz.sh -r 1000000 xls       a target for a number of executions (long runs)
#   scripts/fuzz.sh -r 1000000 -t 900 xls    whichever comes first
#   scripts/fuzz.sh -r 1000000 -c 100000 xls a fresh process every 100,000 executions, on the
#                                            same corpus (for targets whose libraries leak)
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
chunk=""
while getopts "t:r:c:" option; do
    case "$option" in
    t) seconds="$OPTARG" ;;
    r) runs="$OPTARG" ;;
    c) chunk="$OPTARG" ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(picture exif ini taskfile xls xlsx xlsx_parts background)

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
    background) echo "$root/fuzz/seeds/background $fixtures/fuzz/background" ;;
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
    # Leaks inside libfreexl and libgsf are suppressed by library (fuzz/lsan.supp); their frames
    # show only when the stacks of allocations are unwound without frame pointers. libfreexl
    # loses tens of kilobytes on many damaged workbooks, so for the .xls reader the leak check
    # runs when each fuzzing process ends, not after every input that allocated more than it
    # freed (that rescans the whole heap and is seven times slower; the suppressed losses also
    # add up, which is what -c is for).
    options="$ASAN_OPTIONS"
    extra=()
    if [[ "$target" == xls ]]; then
        options="$options:fast_unwind_on_malloc=0"
        extra+=(-detect_leaks=0)
    fi
    log="$build/fuzz_$target.log"
    : > "$log"
    started=$SECONDS
    executed=0
    result=0
    while :; do
        # Executions, time or both (whichever comes first); 5 seconds when neither is given.
        limit=()
        if [[ -n "$runs" ]]; then
            left=$((runs - executed))
            [[ -n "$chunk" && $chunk -lt $left ]] && left=$chunk
            limit+=(-runs="$left")
        fi
        if [[ -n "$seconds" || -z "$runs" ]]; then
            limit+=(-max_total_time="$(( ${seconds:-5} - (SECONDS - started) ))")
        fi
        echo "== fuzz_$target ${limit[*]} ${extra[*]}" | tee -a "$log"
        set +e
        ASAN_OPTIONS="$options" "$build/fuzz/fuzz_$target" "$corpus" \
            -dict="$root/fuzz/dict/$(dict_of "$target").dict" "${limit[@]}" "${extra[@]}" \
            -rss_limit_mb=4096 -malloc_limit_mb=2048 -timeout=30 -artifact_prefix="$findings/" \
            -print_final_stats=1 > "$log.part" 2>&1
        result=$?
        set -e
        cat "$log.part" >> "$log"
        grep -E '^(#[0-9]+ +DONE|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)|SUMMARY|broken promise)' \
            "$log.part" || true
        done_now=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log.part" | tail -1)
        rm -f "$log.part"
        executed=$((executed + ${done_now:-0}))
        [[ $result -ne 0 || -z "$chunk" || -z "$runs" || $executed -ge $runs ]] && break
        [[ -n "$seconds" && $((SECONDS - started)) -ge $seconds ]] && break
        [[ ${done_now:-0} -gt 0 ]] || break
    done
    [[ -n "$chunk" ]] && echo "fuzz_$target: $executed executions in $((SECONDS - started)) s"
    if [[ $result -ne 0 ]]; then
        echo "fuzz_$target found a fault: see $log and $findings/" >&2
        status=1
    fi
done
exit $status
