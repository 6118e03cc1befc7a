#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang (libFuzzer, ASan, UBSan) in build/fuzz
# and runs each one, starting from its seed inputs in tests/fuzz/corpus/<name>/; what a run
# adds to the corpus stays in build/fuzz/corpus/<name>/.
#
#   tools/fuzz.sh [--time SECONDS | --runs COUNT] [--if-available] [NAME...]
#
# --time (default 5) or --runs bounds each target's run. --if-available makes a machine
# without clang's libFuzzer a skip instead of a failure. NAME picks targets (zorvane_cfg,
# ping_cfg, ...); all of them by default. Ends with one line per target: executions,
# executions per second, and what it found.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
limit=(-max_total_time=5)
if_available=false
names=()
while [ $# -gt 0 ]; do
    case "$1" in
        --time) limit=(-max_total_time="$2"); shift 2 ;;
        --runs) limit=(-runs="$2"); shift 2 ;;
        --if-available) if_available=true; shift ;;
        -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) names+=("$1"); shift ;;
    esac
done

build="$repo/build/fuzz"
mkdir -p "$build"
probe="$build/probe"
if ! command -v clang++ >/dev/null ||
   ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
       clang++ -x c++ -fsanitize=fuzzer - -o "$probe" 2>/dev/null; then
    if $if_available; then
        echo "fuzz: clang with libFuzzer is not installed; the fuzz targets were not run"
        exit 0
    fi
    echo "fuzz: clang with libFuzzer is needed (tools/deps.sh installs it)" >&2
    exit 1
fi

CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -DZV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

if [ ${#names[@]} -eq 0 ]; then
    for source in "$repo"/tests/fuzz/fuzz_*.cpp; do
        name=$(basename "$source" .cpp)
        names+=("${name#fuzz_}")
    done
fi

# Without filling each allocation and recording where it was made, AddressSanitizer still
# catches every bad access (only its reports say less), and the targets run twice as fast.
# A finding is best replayed without these: run the target on the file it left.
export ASAN_OPTIONS="${ASAN_OPTIONS:-max_malloc_fill_size=0:malloc_context_size=0}"
# One run a core at a time; each writes its line of the summary into its own file, so that
# the lines come out in the targets' order.
run_target() {
    local name=$1 corpus="$build/corpus/$1" log="$build/$1.log" status=0 runs speed found
    mkdir -p "$corpus" "$build/findings/$name"
    # Every file and text the programs take is far shorter than 512 bytes.
    "$build/tests/fuzz/fuzz_$name" "${limit[@]}" -max_len=512 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$name/" "$corpus" "$repo/tests/fuzz/corpus/$name" \
        >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    found="nothing"
    [ "$status" -eq 0 ] || found="FAULT (see $log and build/fuzz/findings/$name/)"
    printf '%-18s %12s runs %9s exec/s  found: %s\n' "$name" "${runs:-?}" "${speed:-?}" \
        "$found" >"$build/$name.summary"
    return "$status"
}
failed=0
running=0
for name in "${names[@]}"; do
    if [ "$running" -ge "$(nproc)" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    run_target "$name" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
for name in "${names[@]}"; do
    cat "$build/$name.summary"
done
exit $failed
