#!/usr/bin/env bash
# fuzz/run.sh: builds the fuzz targets with clang into build-fuzz/ and runs
# each for FUZZ_SECONDS (default 30) on a fresh, writable copy of its seed
# corpus. Prints each target's executions and coverage. Any crash, sanitizer
# report, timeout, out-of-memory or failed self-check fails the run; the
# input that caused it stays in build-fuzz/artifacts/<target>/.
# Without clang or its libFuzzer runtime it says so and succeeds: fuzzing is
# skipped, not failed.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
SECONDS_PER_TARGET=${FUZZ_SECONDS:-30}
JOBS=${FUZZ_BUILD_JOBS:-2}
DATA=$ROOT/tests/data

skip() {
    echo "fuzz: skipped: $*"
    exit 0
}

command -v clang >/dev/null 2>&1 || skip "clang is not installed (Debian package clang)"
command -v clang++ >/dev/null 2>&1 || skip "clang++ is not installed (Debian package clang)"
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$probe/probe.cpp"
clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1 ||
    skip "clang cannot link libFuzzer with AddressSanitizer (install the libclang-rt / libfuzzer package of this clang)"
[ -d "$DATA" ] || { echo "fuzz: no test data at $DATA" >&2; exit 1; }

echo "fuzz: building in $BUILD"
mkdir -p "$BUILD"
CC=clang CXX=clang++ cmake -S "$ROOT/fuzz" -B "$BUILD" -G Ninja >"$BUILD/configure.log" 2>&1 || {
    cat "$BUILD/configure.log" >&2
    exit 1
}
cmake --build "$BUILD" -j"$JOBS"

# Copies the given seed files, and every file under the given folders, into a
# fresh corpus folder; manifests and notes are left out, and a file from a
# sub-folder takes the sub-folder into its name so that none overwrites another.
make_corpus() {
    local corpus=$1
    shift
    rm -rf "$corpus"
    mkdir -p "$corpus"
    local seed file name
    for seed in "$@"; do
        if [ -f "$seed" ]; then
            cp "$seed" "$corpus/"
            continue
        fi
        while IFS= read -r -d '' file; do
            name=${file#"$seed"/}
            cp "$file" "$corpus/$(basename "$seed")_${name//\//_}"
        done < <(find "$seed" -type f ! -name 'MANIFEST.tsv' ! -name '*.md' -print0)
    done
    chmod -R u+w "$corpus"
}

seeds_of() {
    case $1 in
    fuzz_document) seeds=("$ROOT/fuzz/corpus/document" "$DATA/zip/raw_skin_ini_text.ski") ;;
    fuzz_skinfile) seeds=("$DATA/zip" "$ROOT/fuzz/corpus/skinfile") ;;
    fuzz_mask) seeds=("$DATA/bmp" "$ROOT/fuzz/corpus/mask") ;;
    fuzz_jpeg) seeds=("$DATA/jpeg") ;;
    fuzz_skincheck) seeds=("$ROOT/fuzz/corpus/check" "$ROOT/fuzz/corpus/document") ;;
    esac
}

# Longer seeds (a few masks and archives) are cut to this length; the
# decoders fill in what is missing, so the cut seeds still reach the pixel
# code, and small inputs keep the runs fast.
MAX_LEN=65536
TARGETS=(fuzz_document fuzz_skinfile fuzz_mask fuzz_jpeg fuzz_skincheck)

failed=()
summary=()
for target in "${TARGETS[@]}"; do
    corpus=$BUILD/corpus/$target
    artifacts=$BUILD/artifacts/$target
    log=$BUILD/logs/$target.log
    rm -rf "$artifacts"
    mkdir -p "$artifacts" "$(dirname "$log")"
    seeds_of "$target"
    make_corpus "$corpus" "${seeds[@]}"
    dict=()
    # The check reads skin text, as the document target does.
    dict_file=$ROOT/fuzz/${target/fuzz_skincheck/fuzz_document}.dict
    if [ -f "$dict_file" ]; then dict=(-dict="$dict_file"); fi

    echo "fuzz: $target for ${SECONDS_PER_TARGET}s on $(find "$corpus" -type f | wc -l) seeds"
    status=0
    # Saving a skin file flushes it to disk; on a memory file system that
    # costs nothing, so the skin file target gets many more inputs through.
    tmp=${TMPDIR:-/tmp}
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then tmp=/dev/shm; fi
    (cd "$BUILD" && TMPDIR=$tmp "$BUILD/$target" -max_total_time="$SECONDS_PER_TARGET" -rss_limit_mb=2048 -timeout=10 \
        -max_len="$MAX_LEN" -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "${dict[@]}" "$corpus") >"$log" 2>&1 || status=$?

    # A run that stops early may print none of these.
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    cov=$( (grep -o 'cov: [0-9]*' "$log" || true) | tail -n1 | cut -d' ' -f2)
    ft=$( (grep -o 'ft: [0-9]*' "$log" || true) | tail -n1 | cut -d' ' -f2)
    line=$(printf '%-14s executions %s, cov %s, ft %s' "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}")
    if [ "$status" -ne 0 ] || grep -qE 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error:|self-check failed' "$log"; then
        failed+=("$target")
        line+="  FAILED (exit $status; log $log)"
        echo "---- $target: last lines of $log" >&2
        tail -n 40 "$log" >&2
        find "$artifacts" -type f -printf '     kept input: %p\n' >&2
    fi
    echo "fuzz: $line"
    summary+=("$line")
done

echo "fuzz: summary (${SECONDS_PER_TARGET}s per target)"
printf '  %s\n' "${summary[@]}"
if [ "${#failed[@]}" -ne 0 ]; then
    echo "fuzz: FAILED: ${failed[*]}" >&2
    exit 1
fi
echo "fuzz: all targets passed"
