#!/bin/sh
# Puts each deliberate fault of tests/faults.txt into the code, builds and runs the
# tests named for it, and tells whether they caught it. The file is restored with
# git checkout after every fault.
#
#   tests/faults.sh [build folder] [line filter]
#
# The build folder (default: build) must be configured already. The filter, a grep
# pattern, limits the run to the matching lines of faults.txt. Prints one line per
# fault (CAUGHT, MISSED, BUILD-FAIL or BAD-ENTRY) and a summary; exits non-zero
# when any fault was not caught.
set -u
root=$(git -C "$(dirname "$0")" rev-parse --show-toplevel) || exit 2
cd "$root" || exit 2
build=${1:-build}
filter=${2:-.}
list=tests/faults.txt
log=$(mktemp -d)
faulted=""
# Puts the file back as committed: git checkout, retried while another git
# process holds the index, else the copy taken before the fault.
restore() {
    [ -n "$faulted" ] || return 0
    for _ in 1 2 3 4 5; do
        git checkout -q -- "$faulted" 2>/dev/null && break
        sleep 1
    done
    cmp -s "$faulted" "$log/original" || cp "$log/original" "$faulted"
    faulted=""
}
trap 'restore; rm -rf "$log"' EXIT
trap 'exit 130' INT TERM
[ -f "$build/CTestTestfile.cmake" ] || { echo "no configured build in $build" >&2; exit 2; }
export QT_QPA_PLATFORM=offscreen

# Every test name of the build, once.
ctest --test-dir "$build" -N | sed -n 's/^ *Test *#[0-9]*: //p' > "$log/tests"

caught=0 missed=0 failed=0 bad=0 n=0
grep -v '^\s*#' "$list" | grep -v '^\s*$' | grep -e "$filter" > "$log/faults"
while IFS= read -r line; do
    n=$((n + 1))
    # Fields: library ||| file ||| text ||| replacement ||| ctest regex ||| what a user notices
    field() { printf '%s\n' "$line" | awk -v i="$1" 'BEGIN { FS = " [|][|][|] " } { gsub(/^ +| +$/, "", $i); print $i }'; }
    lib=$(field 1) file=$(field 2) text=$(field 3) regex=$(field 5) what=$(field 6)
    result="" by=""
    # The file may have moved: the one tracked file that holds the text.
    if [ ! -f "$file" ]; then
        hits=$(git grep -lF -e "$text" -- ':!tests/faults.txt' < /dev/null || true)
        if [ "$(printf '%s\n' "$hits" | grep -c .)" = 1 ]; then file=$hits; else result="BAD-ENTRY (text in: ${hits:-no file})"; fi
    fi
    # git checkout restores the file afterwards: never on a file with changes of its own.
    if [ -z "$result" ] && ! git diff --quiet -- "$file"; then
        result="BAD-ENTRY ($file has uncommitted changes)"
    fi
    if [ -z "$result" ]; then
        # Apply: exactly one occurrence, else the entry is wrong.
        cp "$file" "$log/original"
        faulted=$file
        if ! FAULT_LINE="$line" python3 - "$file" <<'EOF'
import os, sys
f = [x.strip() for x in os.environ["FAULT_LINE"].split(" ||| ")]
path, text, repl = sys.argv[1], f[2], f[3]
src = open(path, encoding="utf-8").read()
if src.count(text) != 1:
    sys.exit(f"{path}: text found {src.count(text)} times: {text}")
open(path, "w", encoding="utf-8").write(src.replace(text, repl))
EOF
        then result="BAD-ENTRY (text not found exactly once)"; fi
    fi
    if [ -z "$result" ]; then
        targets=$(grep -E -e "$regex" "$log/tests" | grep -v '^desktop_install$' | tr '\n' ' ')
        if [ -z "$targets" ]; then
            result="BAD-ENTRY (no test matches $regex)"
        elif ! cmake --build "$build" -j2 --target $targets > "$log/build.$n" 2>&1 < /dev/null; then
            result="BUILD-FAIL"
        elif ctest --test-dir "$build" -j2 -R "$regex" -E '^desktop_install$' > "$log/ctest.$n" 2>&1 < /dev/null; then
            result="MISSED"
        else
            result="CAUGHT"
            by=$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' "$log/ctest.$n" | tr '\n' ' ')
        fi
    fi
    restore
    case $result in
    CAUGHT) caught=$((caught + 1)) ;;
    MISSED) missed=$((missed + 1)) ;;
    BUILD-FAIL) failed=$((failed + 1)) ;;
    *) bad=$((bad + 1)) ;;
    esac
    printf '%-10s %-10s %s: %s%s\n' "$result" "$lib" "$file" "$what" "${by:+ [by: ${by% }]}"
done < "$log/faults"
# Put the build back as the code is: its tests would otherwise run the last fault.
cmake --build "$build" -j2 > /dev/null 2>&1

echo "faults: $n, caught: $caught, missed: $missed, build-fail: $failed, bad entries: $bad"
[ "$caught" = "$n" ]
