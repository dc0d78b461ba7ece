# The pass/fail lines of the check scripts; sourced, not run. The caller exits 1 when
# FAILURES is not 0 at the end.
FAILURES=0

pass() { echo "ok   $1"; }
fail() {
    echo "FAIL $1"
    FAILURES=$((FAILURES + 1))
}
check() {  # NAME COMMAND...
    local name=$1
    shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}
