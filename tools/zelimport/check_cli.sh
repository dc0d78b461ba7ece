#!/bin/bash
# zelimport as a user meets it: options, exit codes, where files go, message forms.
#
#   tools/zelimport/check_cli.sh BUILD_DIR
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:?usage: check_cli.sh BUILD_DIR}" && pwd)
ZI=$BUILD/tools/zelimport
ZR=$BUILD/tools/zelrender
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/tools/check_lib.sh"
cd "$WORK"

printf '%s\n' "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'>" \
    "<rect id='box' width='10' height='10' fill='red' filter='url(#f)'/></svg>" >art.svg

check_code() {  # NAME CODE COMMAND...
    local name=$1 want=$2
    shift 2
    "$@" >out.txt 2>err.txt
    local got=$?
    if [ "$got" -eq "$want" ]; then pass "$name"; else fail "$name (exit $got, want $want)"; sed 's/^/     /' err.txt; fi
}

check_code "--help exits 0" 0 "$ZI" --help
grep -q '^usage: zelimport' out.txt && pass "--help prints the usage" || fail "--help prints the usage"
check_code "--version exits 0" 0 "$ZI" --version
grep -qx 'zelimport [0-9.]*' out.txt && pass "--version prints the version" || fail "--version"
check_code "no input is a usage error" 2 "$ZI"
check_code "an unknown option is a usage error" 2 "$ZI" --fast art.svg
check_code "a bad size is a usage error" 2 "$ZI" --size 0x10 art.svg
check_code "two inputs are a usage error" 2 "$ZI" art.svg art.svg
check_code "a prefix with a brace is a usage error" 2 "$ZI" --prefix 'a{' art.svg

check_code "an import with warnings exits 0" 0 "$ZI" art.svg
[ -f art.scn ] && pass "the default output is INPUT.scn" || fail "the default output is INPUT.scn"
grep -qx 'art.svg:2: warning: <filter> on "box" is not imported' err.txt &&
    pass "warnings name file, line, kind and element" || fail "warning form: $(cat err.txt)"
check_code "the document loads and draws" 0 "$ZR" --size 40x30 art.scn

check_code "-o, --prefix and --size are used" 0 "$ZI" -o big.scn --prefix art. --size 80x60 art.svg
grep -q '^art.box Rectangle{' big.scn && grep -q 'Scale{ x 2 y 2 }' big.scn &&
    pass "names carry the prefix and the size scales" || fail "prefix or size missing"

printf 'not xml' >bad.svg
check_code "a file that is not XML fails" 1 "$ZI" bad.svg
grep -q '^bad.svg:1: error: not well-formed XML' err.txt && pass "the error names file and line" ||
    fail "error form: $(cat err.txt)"
[ ! -e bad.scn ] && pass "nothing is written on an error" || fail "nothing is written on an error"
check_code "a missing file fails" 1 "$ZI" missing.svg
grep -q '^missing.svg:0: error: cannot open the file' err.txt && pass "a missing file says so" ||
    fail "missing file: $(cat err.txt)"
check_code "a directory fails" 1 "$ZI" .
check_code "an unwritable output fails" 1 "$ZI" -o nowhere/x.scn art.svg
check_code "an output that is the input fails" 1 "$ZI" -o ./art.svg art.svg
grep -q '<rect' art.svg && pass "and leaves the SVG alone" || fail "the SVG was overwritten"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
fi
echo "all zelimport checks passed"
