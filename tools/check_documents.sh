#!/bin/bash
# zelrender --check on every document the repository holds, and its command-line manners.
#
#   tools/check_documents.sh [BUILD_DIR]      (default: build in the repository)
#
# The documents under data/ and docs/examples/ (when there is such a folder) must be clean
# under --strict, each folder checked in one run so that a child document is checked with
# what its parent writes into it. Under tests/, a document with NAME.expected beside it is
# deliberately faulty and must give exactly that report, with exit code 1 when it holds an
# error and 3 when it holds only warnings; the others must be clean.
set -u

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
ZR="$BUILD/tools/zelrender"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$ROOT" || exit 1

. "$ROOT/tools/check_lib.sh"

# run ARGS...: zelrender with standard output in $WORK/out, standard error in $WORK/err; RC.
run() {
    "$ZR" "$@" >"$WORK/out" 2>"$WORK/err"
    RC=$?
}
clean() { [ "$RC" -eq 0 ] && [ ! -s "$WORK/out" ]; }
exits() { [ "$RC" -eq "$1" ]; }
printed() { grep -q -- "$1" "$WORK/out"; }

documents() { find "$@" -name '*.scn' -type f 2>/dev/null | sort; }

for folder in data docs/examples; do
    [ -d "$folder" ] || continue
    mapfile -t files < <(documents "$folder")
    [ ${#files[@]} -gt 0 ] || continue
    run --check --strict "${files[@]}"
    check "$folder: ${#files[@]} documents check clean" clean
    clean || cat "$WORK/out" "$WORK/err"
done

unchecked=()
while read -r file; do
    expected="${file%.scn}.expected"
    if [ ! -f "$expected" ]; then
        unchecked+=("$file")
        continue
    fi
    want=0
    grep -q ': warning: ' "$expected" && want=3
    grep -q ': error: ' "$expected" && want=1
    run --check --strict "$file"
    if [ "$RC" -eq "$want" ] && diff -u "$expected" "$WORK/out" >"$WORK/diff"; then
        pass "$file: the report it should give (exit $want)"
    else
        fail "$file: the report it should give (exit $want, got $RC)"
        cat "$WORK/diff" "$WORK/err"
    fi
done < <(documents tests)
if [ ${#unchecked[@]} -gt 0 ]; then
    run --check --strict "${unchecked[@]}"
    check "tests: ${#unchecked[@]} documents without an expected report check clean" clean
fi

# Command-line manners.
T=tests/data/check
run --check
check "--check without a document exits 2" exits 2
run --check --fps 10 "$T/parts/plain.scn"
check "--check refuses the options that draw or write" \
    eval 'exits 2 && grep -q -- "--fps does not go with --check" "$WORK/err"'
run --run 100 "$T/parts/plain.scn"
check "--run needs --check" exits 2
run "$T/parts/plain.scn" "$T/parts/dial.scn"
check "two documents need --check" exits 2
run --check "$T/unused-names.scn"
check "warnings alone exit 0 without --strict" eval 'exits 0 && printed ": warning: "'
run --check --quiet "$T/pop-empty.scn"
check "--quiet prints the errors and their notes only" \
    eval 'exits 1 && ! printed ": warning: " && printed ": error: " && printed ": note: "'
run --check --quiet --strict "$T/unused-names.scn"
check "--quiet --strict: nothing printed, and exit 3 for the warnings" \
    eval 'exits 3 && [ ! -s "$WORK/out" ]'
run --check --strict "$T/variables.scn" "$T/parts/dial.scn"
check "a child given beside its parent is checked with what the parent writes into it" \
    diff -q "$T/variables.expected" "$WORK/out"
run --check --strict "$T/parts/dial.scn" "$T/parts/plain.scn" "$T/count-high.scn"
check "the reports of several documents follow each other; an error wins the exit code" \
    eval 'exits 1 && diff -q <(cat "$T/parts/dial.expected" "$T/count-high.expected") "$WORK/out"'
run --check --run 1000 "$T/null-handover.scn"
check "--run 1000 stops before the failure at 1500 ms" clean
run --check "$T/nowhere.scn"
check "a missing document is an error of that file" \
    eval 'exits 1 && grep -qx "$T/nowhere.scn: error: could not open the file \"$T/nowhere.scn\"" "$WORK/out"'

# --fps without --to ends where the animations end.
last_frame() {
    run "$@" --hit 0,0
    [ "$RC" -eq 0 ] && tail -n 1 "$WORK/out" | cut -d' ' -f1
}
check "--fps ends where the last animation that hands over ends" \
    [ "$(last_frame --fps 10 "$T/animations.scn")" = 1000 ]
check "--fps stops before a hand-over to null fails" \
    [ "$(last_frame --fps 10 "$T/null-handover.scn")" = 1400 ]
check "--fps runs to 154000 ms when the animations never end" \
    [ "$(last_frame --fps 1 "$T/parts/plain.scn")" = 154000 ]
check "--to still sets the end" [ "$(last_frame --fps 10 --to 300 "$T/parts/plain.scn")" = 300 ]

[ "$FAILURES" -eq 0 ] || exit 1
