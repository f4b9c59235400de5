#!/bin/sh
# Mutation run: makes small random changes to the program's code, one at a time,
# builds, runs the tests, and tells whether any test failed (KILLED) or none did
# (SURVIVED). The file is restored with git checkout after every mutant.
#
#   tests/mutants.sh [build folder] [folders] [count] [seed]
#
#   build folder  a configured build (default: build)
#   folders       comma-separated source folders or .cpp files (default: core,platform,fonts,print,wizards,options)
#   count         how many mutants (default: 100)
#   seed          the random seed; the same seed picks the same mutants (default: 1)
#
# Kinds of change: a comparison flipped or made strict or loose, && and || swapped,
# an integer constant off by one, a boolean inverted or a negation dropped, a call
# dropped (calls in error paths weighted up), a text encoding swapped, the two
# arguments of a call swapped. The test doubles, which only tests run, are left
# alone: the fake platform (platform/fake.cpp) and the recording printer surface
# (print/recording.cpp).
#
# A mutant whose object code is the same as the original's is EQUIVALENT (the
# compiler proved no behaviour can differ); one listed in tests/mutants-equivalent.txt
# (its key, then why; the line number may have moved since) is EQUIVALENT too. One
# that does not compile is STILLBORN. Neither counts in the kill rate. The tests of
# the mutated folder run first, then those of the layers above, stopping at the
# first failure.
#
# Environment: MUTANTS_LIST=1 only lists the chosen mutants; MUTANTS_IDS="M003 M017" runs
# only those of the chosen mutants (to re-run survivors with the same seed);
# MUTANTS_TIMEOUT (s, default 300) bounds one test program. MUTANTS_TESTS="a|b" runs only those
# tests (what one test program catches, before and after it is rewritten). MUTANTS_FROM=FILE runs the mutants
# of a list that MUTANTS_LIST=1 printed earlier (the survivors of a run, say), each found again
# by its text when the code around it has moved; one whose line is gone is not run.
#
# Cheapest on a build of its own configured with -DGLYPHWICK_SHARED_LIBS=ON and ccache:
# a mutant then rebuilds one object and one shared library and relinks no test program.
#
# MUTANTS_CHECK_BUILD=DIR names a second configured build of the same source, made with
# checks the first lacks (-DGLYPHWICK_SANITIZE=ON: AddressSanitizer, UndefinedBehaviorSanitizer
# and the libraries' bounds checks): a mutant that survives the
# first is built and tested there too, and is KILLED when a test fails there, as when it
# reads past a list, uses freed memory or leaks.
set -u
root=$(git -C "$(dirname "$0")" rev-parse --show-toplevel) || exit 2
cd "$root" || exit 2
build=${1:-build}
folders=${2:-core,platform,fonts,print,wizards,options}
count=${3:-100}
seed=${4:-1}
[ -f "$build/CTestTestfile.cmake" ] || { echo "no configured build in $build" >&2; exit 2; }
# A test's own TIMEOUT property overrides ctest --timeout: the bound is set in the build.
cmake -DGLYPHWICK_TEST_TIMEOUT="${MUTANTS_TIMEOUT:-300}" "$build" > /dev/null || exit 2
check=${MUTANTS_CHECK_BUILD:-}
if [ -n "$check" ]; then
    [ -f "$check/CTestTestfile.cmake" ] || { echo "no configured build in $check" >&2; exit 2; }
    # The checks slow the tests down: twice the time.
    cmake -DGLYPHWICK_TEST_TIMEOUT="$((2 * ${MUTANTS_TIMEOUT:-300}))" "$check" > /dev/null || exit 2
fi
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
current=""
restore() {
    [ -n "$current" ] || return 0
    git checkout -q -- "$current" 2>/dev/null || cp "$work/original" "$current"
    current=""
}
trap 'restore; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

# Choose the mutants: one line each, fields separated by tabs:
# id, file, line number, kind, text of the line before, after.
python3 - "$folders" "$count" "$seed" > "$work/mutants" <<'EOF' || exit 2
import random, re, subprocess, sys
folders, count, seed = sys.argv[1].split(","), int(sys.argv[2]), int(sys.argv[3])
# The test doubles: only tests run them, so they are not mutated.
files = [f for f in subprocess.run(["git", "ls-files", "--"] + [d if d.endswith(".cpp") else f"{d}/*.cpp"
                                                                 for d in folders],
                                   capture_output=True, text=True, check=True).stdout.split()
         if f not in ("platform/fake.cpp", "print/recording.cpp")]
STRING = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])\'')
ERROR_WORDS = re.compile(r"(error|fail|remove|unlink|rename|close|delete|trash|cancel|abort|"
                         r"Report|Message|warn|restore|cleanup|Clean)", re.I)
SWAPS = [
    ("comparison flipped", r"(?<![<>=!-])==(?!=)", "!="), ("comparison flipped", r"!=", "=="),
    ("comparison made strict", r"(?<![<-])<=", "<"), ("comparison made strict", r"(?<![>-])>=", ">"),
    # A comparison has a space on either side; a template's brackets do not.
    ("comparison made loose", r"(?<=\s)<(?![<=])(?=\s)", "<="),
    ("comparison made loose", r"(?<=\s)>(?![>=])(?=\s)", ">="),
    ("logic swapped", r"&&", "||"), ("logic swapped", r"\|\|", "&&"),
    ("boolean inverted", r"\btrue\b", "false"), ("boolean inverted", r"\bfalse\b", "true"),
    ("negation dropped", r"(?<![!=])!(?=[A-Za-z_(])", ""),
    ("text encoding swapped", r"\btoUtf8\b", "toLatin1"), ("text encoding swapped", r"\bfromUtf8\b", "fromLatin1"),
    ("text encoding swapped", r"\btoLocal8Bit\b", "toLatin1"), ("text encoding swapped", r"\bfromLocal8Bit\b", "fromLatin1"),
    ("text encoding swapped", r"\bencodeName\b", "decodeName"),
]
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
CALL_LINE = re.compile(r"^\s*[\w:.>-]+(?:\([^;]*\))\s*;\s*$")
RESERVE = re.compile(r"\.(reserve|squeeze)\(")
PAIR = re.compile(r"\b(\w+)\(\s*([\w.:>-]+)\s*,\s*([\w.:>-]+)\s*\)")
candidates = []
for path in sorted(files):
    try:
        lines = open(path, encoding="utf-8").read().split("\n")
    except (OSError, UnicodeDecodeError):
        continue
    in_comment = False
    for no, line in enumerate(lines, 1):
        s = line.strip()
        if in_comment:
            in_comment = "*/" not in s
            continue
        if s.startswith("/*"):
            in_comment = "*/" not in s
            continue
        if not s or s.startswith(("//", "#", "Q_", "static_assert")) or "qDebug" in s or "qWarning" in s:
            continue
        code = line.split("//")[0] if "//" in line and '"' not in line else line
        masked = STRING.sub(lambda m: "\0" * len(m.group()), code)
        def add(kind, start, end, repl, weight=1):
            after = line[:start] + repl + line[end:]
            if after != line:
                candidates.append((weight, path, no, kind, line, after))
        for kind, pattern, repl in SWAPS:
            for m in re.finditer(pattern, masked):
                add(kind, m.start(), m.end(), repl)
        reserve = RESERVE.search(masked)
        for m in NUMBER.finditer(masked):
            if "[" in masked[max(0, m.start() - 1):m.start()] or (reserve and m.start() > reserve.start()):
                continue
            n = int(m.group(1))
            add("integer off by one", m.start(), m.end(), str(n + 1))
            if n > 0:
                add("integer off by one", m.start(), m.end(), str(n - 1))
        # Reserving room changes no behaviour, only when memory is taken (nor does how much).
        if CALL_LINE.match(masked) and not s.startswith(("return", "delete")) and not RESERVE.search(masked):
            context = " ".join(lines[max(0, no - 4):no])
            add("call dropped", 0, len(line), line[:len(line) - len(line.lstrip())] + ";",
                3 if ERROR_WORDS.search(context) else 1)
        for m in PAIR.finditer(masked):
            if m.group(1) in ("if", "while", "for", "switch", "return", "qMin", "qMax", "min", "max", "sizeof"):
                continue
            a, b = m.group(2), m.group(3)
            # Only pairs of one kind (two names or two numbers) can compile swapped.
            if a != b and "::" not in a + b and a.isdigit() == b.isdigit():
                add("arguments swapped", m.start(2), m.end(3), b + ", " + a)
rng = random.Random(seed)
chosen, pool = [], list(candidates)
weights = [c[0] for c in pool]
while pool and len(chosen) < count:
    i = rng.choices(range(len(pool)), weights=weights)[0]
    chosen.append(pool.pop(i)); weights.pop(i)
for n, (_, path, no, kind, before, after) in enumerate(chosen, 1):
    t = lambda x: x.replace("\t", " ")
    print(f"M{n:03d}\t{path}\t{no}\t{kind}\t{t(before)}\t{t(after)}")
print(f"{len(candidates)} places could be mutated; {len(chosen)} chosen with seed {seed}", file=sys.stderr)
EOF
if [ -n "${MUTANTS_FROM:-}" ]; then
    python3 - "$MUTANTS_FROM" > "$work/mutants" <<'EOF' || exit 2
import sys
for entry in open(sys.argv[1], encoding="utf-8").read().splitlines():
    fields = entry.split("\t")
    if len(fields) != 6:
        continue
    path, no, before = fields[1], int(fields[2]), fields[4]
    try:
        lines = [l.replace("\t", " ") for l in open(path, encoding="utf-8").read().split("\n")]
    except OSError:
        lines = []
    # The same text nearest to where it was.
    found = sorted((abs(i + 1 - no), i + 1) for i, l in enumerate(lines) if l == before)
    if found:
        fields[2] = str(found[0][1])
        print("\t".join(fields))
    else:
        print(f"{fields[0]} {path}:{no} is gone; not run", file=sys.stderr)
EOF
fi
if [ -n "${MUTANTS_IDS:-}" ]; then
    printf '%s\n' $MUTANTS_IDS > "$work/ids"
    awk -F '\t' 'NR == FNR { want[$1] = 1; next } want[$1]' "$work/ids" "$work/mutants" > "$work/some"
    mv "$work/some" "$work/mutants"
fi
if [ "${MUTANTS_LIST:-0}" = 1 ]; then cat "$work/mutants"; exit 0; fi

# The layers from the bottom: a mutant's own folder's tests run first, then those above.
layers="sfnt core platform fonts startup print checker options wizards keyboard mainwindow"
ctest --test-dir "$build" -N | sed -n 's/^ *Test *#[0-9]*: //p' | grep -v '^desktop_install$' > "$work/tests"
above() { printf '%s\n' $layers | sed -n "/^$1\$/,\$p" | tr '\n' '|' | sed 's/|$//'; }
# Object code without debug information (line numbers do not count).
objects() {
    find "$build" -name "$(basename "$1").o" | sort | while read -r o; do
        objcopy --strip-debug "$o" "$work/stripped.o" && md5sum < "$work/stripped.o"
    done | md5sum
}
for b in "$build" $check; do
    cmake --build "$b" -j2 > "$work/build.log" 2>&1 || { echo "the unmutated build fails in $b" >&2; tail "$work/build.log" >&2; exit 2; }
done
# A test failing there without a mutant would count every survivor killed.
if [ -n "$check" ] && ! ctest --test-dir "$check" -j2 -E '^desktop_install$' > "$work/check.log" 2>&1 < /dev/null; then
    echo "the unmutated tests fail in $check" >&2; grep -E 'Failed|Timeout|Exception' "$work/check.log" >&2; exit 2
fi

killed=0 survived=0 equivalent=0 stillborn=0
while IFS="$(printf '\t')" read -r id file line kind before after; do
    key="$file:$line $kind: $(printf '%s' "$before" | sed 's/^ *//') => $(printf '%s' "$after" | sed 's/^ *//')"
    git diff --quiet -- "$file" || { echo "$file has uncommitted changes; stopping" >&2; exit 2; }
    started=$(date +%s)
    original=$(objects "$file")
    cp "$file" "$work/original"; current=$file
    BEFORE="$before" AFTER="$after" python3 - "$file" "$line" <<'EOF'
import os, sys
path, no = sys.argv[1], int(sys.argv[2])
lines = open(path, encoding="utf-8").read().split("\n")
if lines[no - 1].replace("\t", " ") != os.environ["BEFORE"]:
    sys.exit(f"{path}:{no} does not hold the expected text")
lines[no - 1] = os.environ["AFTER"]
open(path, "w", encoding="utf-8").write("\n".join(lines))
EOF
    folder=${file%%/*}
    # Listed equivalents are found by file, kind and text: their line numbers may have moved.
    if sed -E 's/^([^: ]+):[0-9]+ /\1 /' tests/mutants-equivalent.txt 2>/dev/null |
            grep -qF -e "$(printf '%s' "$key" | sed -E 's/^([^: ]+):[0-9]+ /\1 /')"; then
        result=EQUIVALENT
    elif ! cmake --build "$build" -j2 > "$work/build.$id" 2>&1 < /dev/null; then
        result=STILLBORN
    elif [ "$(objects "$file")" = "$original" ]; then
        result=EQUIVALENT
    else
        # First the tests whose source includes the mutated file's header (most likely to
        # fail, so a killed mutant costs least), then the folder's own, then those above.
        header="$(basename "${file%.cpp}").h"
        near=$(git grep -lE "#include \"$folder/$header\"" -- 'tests/*/*.cpp' < /dev/null |
               sed 's|^tests/\([^/]*\)/\(.*\)\.cpp$|\1_\2|' | grep -xF -f "$work/tests" | tr '\n' '|' | sed 's/|$//')
        own=$(grep -E "^${folder}_" "$work/tests" | grep -vxE "${near:-^$}" | tr '\n' '|' | sed 's/|$//')
        rest=$(grep -E "^($(above "$folder"))_" "$work/tests" | grep -vE "^${folder}_" | grep -vxE "${near:-^$}" |
               tr '\n' '|' | sed 's/|$//')
        result=SURVIVED
        # Only the tests named (to see what one test program catches).
        if [ -n "${MUTANTS_TESTS:-}" ]; then near="$MUTANTS_TESTS" own="" rest=""; fi
        for b in "$build" $check; do
            [ "$b" = "$build" ] || cmake --build "$b" -j2 > "$work/build.$id" 2>&1 < /dev/null || break
            for set in "$near" "$own" "$rest"; do
                [ -n "$set" ] || continue
                if ! ctest --test-dir "$b" -j2 --stop-on-failure \
                        -R "^($set)\$" > "$work/ctest.$id" 2>&1 < /dev/null; then
                    result=KILLED; break
                fi
            done
            [ $result = SURVIVED ] || { [ "$b" = "$build" ] || result="KILLED" via=" [checked build]"; break; }
        done
    fi
    restore
    case $result in
    KILLED) killed=$((killed + 1)) ;;
    SURVIVED) survived=$((survived + 1)) ;;
    EQUIVALENT) equivalent=$((equivalent + 1)) ;;
    *) stillborn=$((stillborn + 1)) ;;
    esac
    printf '%-10s %s %s (%s s)%s\n' "$result" "$id" "$key" "$(($(date +%s) - started))" "${via:-}"
    via=""
done < "$work/mutants"
# Put the builds back as the code is.
for b in "$build" $check; do cmake --build "$b" -j2 > /dev/null 2>&1; done
counted=$((killed + survived))
echo "mutants: $((counted + equivalent + stillborn)), killed: $killed, survived: $survived, equivalent: $equivalent, stillborn: $stillborn"
[ "$counted" -gt 0 ] && echo "kill rate: $((100 * killed / counted)) %"
exit 0
