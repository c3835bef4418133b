#!/usr/bin/env bash
# Checks the code against .clang-format and .clang-tidy: scripts/lint.sh [BUILD]
# BUILD (default build/) is the build folder whose compile_commands.json
# clang-tidy reads; it is configured first if it has none. Exits non-zero on
# any finding. LINT_JOBS (default 2) sets how many files are checked at once.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${1:-build}
jobs=${LINT_JOBS:-2}

pick() {
    local name
    for name in "$@"; do
        if command -v "$name" > /dev/null; then
            echo "$name"
            return
        fi
    done
    echo "lint: none of $* found (apt-get install clang-format clang-tidy)" >&2
    exit 2
}
format=$(pick clang-format-14 clang-format)
tidy=$(pick clang-tidy-14 clang-tidy)

dirs=()
for d in src tools tests bench fuzz; do
    [ -d "$d" ] && dirs+=("$d")
done

log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT

# --- Formatting -------------------------------------------------------------
find "${dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | sort > "$log/sources"
echo "lint: clang-format on $(wc -l < "$log/sources") files"
xargs -a "$log/sources" -d '\n' "$format" --dry-run --Werror > /dev/null 2> "$log/format"
format_files=$(grep -oE '^[^:]+\.(cpp|h):[0-9]+:[0-9]+: (warning|error)' "$log/format" | cut -d: -f1 | sort -u)
format_count=$(printf '%s' "$format_files" | grep -c . || true)
if [ "$format_count" -gt 0 ]; then
    echo "lint: $format_count files are not formatted as .clang-format says (clang-format -i FILE fixes them):"
    printf '%s\n' "$format_files" | sed 's/^/  /' | head -n 20
    [ "$format_count" -gt 20 ] && echo "  ... and $((format_count - 20)) more"
elif [ -s "$log/format" ] && ! grep -qE 'code should be clang-formatted' "$log/format"; then
    # clang-format failed for another reason (unreadable file, bad config).
    cat "$log/format" >&2
    format_count=1
fi

# --- clang-tidy -------------------------------------------------------------
if [ ! -f "$build/compile_commands.json" ]; then
    echo "lint: configuring $build for its compile database"
    if [ "$build" = build ] && [ -f CMakePresets.json ]; then
        cmake --preset dev > "$log/configure" 2>&1
    else
        cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$log/configure" 2>&1
    fi || {
        cat "$log/configure" >&2
        exit 2
    }
fi
# The sources include the files moc writes (test_x.moc and the like); make
# them, and only them, so clang-tidy sees what the compiler sees.
mapfile -t autogen < <(ninja -C "$build" -t targets all | sed -n 's/^\([A-Za-z0-9_.+-]*_autogen\): .*/\1/p')
if [ "${#autogen[@]}" -gt 0 ]; then
    cmake --build "$build" -j "$jobs" --target "${autogen[@]}" > "$log/autogen" 2>&1 || {
        cat "$log/autogen" >&2
        exit 2
    }
fi

# Every project source in the compile database; the generated moc and
# resource files live in the build folder and are left out.
python3 - "$build/compile_commands.json" "$root" > "$log/units" << 'PY'
import json, os, re, sys
database, root = sys.argv[1], sys.argv[2]
ours = re.compile(re.escape(root) + r"/(src|tools|tests|bench|fuzz)/")
files = set()
for entry in json.load(open(database)):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if ours.match(path):
        files.add(path)
print("\n".join(sorted(files)))
PY
echo "lint: clang-tidy on $(wc -l < "$log/units") files, $jobs at a time"
# Each file's output goes to its own log, so parallel runs do not interleave.
# The build's GCC-only warning options mean nothing to clang: they are ignored.
xargs -a "$log/units" -d '\n' -P "$jobs" -I{} sh -c '
    out="$1/tidy.$(echo "$2" | md5sum | cut -c1-16)"
    "$3" -p "$4" --quiet --extra-arg=-Wno-unknown-warning-option \
        --header-filter="^$5/(src|tools|tests|bench|fuzz)/" "$2" > "$out" 2>&1 || echo "$2" >> "$1/tidy-failed"
' sh "$log" {} "$tidy" "$build" "$root"

# A header's findings show once for each file that includes it: count each once.
cat "$log"/tidy.* 2> /dev/null |
    grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error): ' | sort -u > "$log/findings"
tidy_count=$(wc -l < "$log/findings")
if [ "$tidy_count" -gt 0 ]; then
    echo "lint: $tidy_count clang-tidy findings:"
    sed "s|^$root/||" "$log/findings"
    echo "lint: by check:"
    grep -oE '\[[a-z0-9.,-]+\]$' "$log/findings" | sed 's/,-warnings-as-errors//' | sort | uniq -c | sort -rn
elif [ -f "$log/tidy-failed" ]; then
    # clang-tidy stopped without a finding (a file that does not compile).
    echo "lint: clang-tidy failed on:"
    cat "$log/tidy-failed"
    for f in "$log"/tidy.*; do cat "$f"; done | head -n 40
    tidy_count=$(wc -l < "$log/tidy-failed")
fi

if [ "$format_count" -eq 0 ] && [ "$tidy_count" -eq 0 ]; then
    echo "lint: clean"
    exit 0
fi
echo "lint: FAILED ($format_count unformatted files, $tidy_count clang-tidy findings)"
exit 1
