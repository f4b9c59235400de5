#!/bin/bash
# Starts and closes Glyphwick many times and kills it (SIGKILL) at random moments
# of its close, then checks "gw.ini" after every run: the keys one close writes
# are either all as before or all new, never a mix; the rest of the file is
# untouched; a temporary file a killed save left is gone after the next start.
# The program is closed with SIGTERM, which closes the main window as the user
# would. Run by hand, not in CI (it takes minutes):
#     tests/killloop.sh [path/to/glyphwick] [cycles]
set -u
exe=$(realpath "${1:-build/app/glyphwick}")
cycles=${2:-300}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export GLYPHWICK_HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
mkdir -p "$GLYPHWICK_HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
ini=$GLYPHWICK_HOME/gw.ini

# The file before every run: each key the close writes holds a value the program
# writes back in another form (" old" after a number, an escaped blank inside the
# sample text, a family that is not installed), so old and new can be told apart.
# A large section of other keys makes the save take long enough to be hit.
old_file() {
    printf '; kept as it is\n[GW]\nShowTrueType=1\nShowATM=1\nShowDevice=1\n'
    for k in ANSI PointSize ChartANSI ChartSize ChartSelected TextSize CurrentTab; do
        case $k in ChartSelected) v=0 ;; CurrentTab) v=2 ;; PointSize|TextSize) v=30 ;; *) v=66 ;; esac
        printf '%s=%s old\n' "$k" "$v"
    done
    printf 'SampleText=sample\\u0020text\nCurrentFont=Old Family That Is Not There\n'
    printf '\n[Main]\nTop=1500 old\nLeft=1500 old\nHeight=6000 old\nWidth=9000 old\n'
    printf '\n[Filler]\n'
    seq 1 20000 | sed 's/.*/Key&=a value that nobody changes, number &/'
}
old_file > "$work/template"
filler_sum=$(sed -n '/^\[Filler\]/,$p' "$work/template" | md5sum)
closed_keys='^(ANSI|PointSize|ChartANSI|ChartSize|ChartSelected|TextSize|SampleText|CurrentTab|CurrentFont|Top|Left|Height|Width)='

saved=0 unsaved=0 mixed=0 broken=0 temps_left=0 temps_stale=0
last_pid=
for ((i = 1; i <= cycles; i++)); do
    cp "$work/template" "$ini"
    "$exe" >/dev/null 2>&1 &
    pid=$!
    # Long enough for the window to be up (and the settings read), then close it.
    sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", 1.2 + r / 32767 * 0.6 }')"
    kill -TERM "$pid" 2>/dev/null
    sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", r / 32767 * 0.08 }')"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null

    # A temporary file of an earlier run must have been removed by this start.
    for t in "$GLYPHWICK_HOME"/gw.ini.*; do
        [ -e "$t" ] || continue
        case $t in
            *".$pid.saving") temps_left=$((temps_left + 1)) ;;
            *) temps_stale=$((temps_stale + 1)); echo "run $i: stale $t"; rm -f "$t" ;;
        esac
    done

    lines=$(grep -E "$closed_keys" "$ini" | wc -l)
    old=$(grep -E "$closed_keys" "$ini" | grep -cE ' old$|\\u0020|=Old Family')
    if [ "$lines" -ne 13 ] || [ "$(sed -n '/^\[Filler\]/,$p' "$ini" | md5sum)" != "$filler_sum" ] \
        || ! head -n 5 "$ini" | cmp -s - <(head -n 5 "$work/template"); then
        broken=$((broken + 1)); echo "run $i: damaged file"; cp "$ini" "$work/../killloop-broken-$i.ini"
    elif [ "$old" -eq 13 ]; then
        unsaved=$((unsaved + 1))
    elif [ "$old" -eq 0 ]; then
        saved=$((saved + 1))
    else
        mixed=$((mixed + 1)); echo "run $i: $old of 13 keys old"; cp "$ini" "$work/../killloop-mixed-$i.ini"
    fi
    last_pid=$pid
done
echo "runs: $cycles, saved whole: $saved, not saved: $unsaved, mixed: $mixed, damaged: $broken," \
     "temporary files left by a kill: $temps_left, outliving the next start: $temps_stale"
[ "$mixed" -eq 0 ] && [ "$broken" -eq 0 ] && [ "$temps_stale" -eq 0 ]
