#!/usr/bin/env bash
# Counting helpers of the check scripts. Source it, do not run it. Every check
# prints "ok NAME" or "FAIL NAME: why"; `finish` prints the closing line
# "N passed, M failed" and exits non-zero when anything failed.

passed=0
failed=0
pass() { echo "ok $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1${2:+: $2}"; failed=$((failed + 1)); }
check() {
    local name=$1
    shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

# Runs a command that counts its own checks (and prints them), and takes over
# the totals of its closing line; a run without one counts as one failure NAME.
run_counted() {
    local name=$1 log totals
    shift
    log=$(mktemp)
    "$@" 2>&1 | tee "$log"
    totals=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -1)
    rm -f "$log"
    if [ -z "$totals" ]; then
        fail "$name"
    else
        passed=$((passed + ${totals%% passed*}))
        failed=$((failed + $(sed -E 's/.*, ([0-9]+) failed/\1/' <<<"$totals")))
    fi
}

# An expected trace as the scenario prints it: a first line "@opening" stands
# for the sheet's opening, kept once in opening.trace beside the file.
expected_trace() {
    local file=$1
    if [ "$(head -1 "$file")" = "@opening" ]; then
        cat "$(dirname "$file")/opening.trace"
        tail -n +2 "$file"
    else
        cat "$file"
    fi
}
