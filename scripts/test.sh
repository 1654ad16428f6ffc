#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively (with sanitizers), then
# the windows and the shipped programs under Wine on a virtual display, in the lanes CMake
# finds this machine runs (cmake/lanes.cmake). Ends with "N passed, M failed, K skipped".
set -uo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"
# Read by the random use test: the soak is played after the suite, not inside it.
soak=${QELVANE_SOAK:-}
unset QELVANE_SOAK

# Nothing could be tested: the count, then the command that stopped the run.
stop() {
    echo "0 passed, 1 failed, 0 skipped"
    echo "${QELVANE_FAILURES[-1]}"
    exit 1
}
install_packages || stop
trap cleanup_session EXIT

# "passed failed skipped" of CTest's JUnit file: a test not run counts as failed (a missing
# program, a fixture that failed) unless disabled or skipped as asked (SKIP_*).
summary_of() {
    [ -s "$1" ] || { echo "0 1 0"; return; }
    awk '/<testcase / { n++; r[n] = $0 ~ /status="run"/ ? "p" : $0 ~ /status="disabled"/ ? "s" : "f" }
         /<skipped message="SKIP_/ { r[n] = "s" }
         END { for (i = 1; i <= n; i++) c[r[i]]++; printf "%d %d %d\n", c["p"], c["f"], c["s"] }' "$1"
}

passed=0 failed=0 skipped=0
count() { passed=$((passed + $1)); failed=$((failed + $2)); skipped=$((skipped + $3)); }
ctest_counted() {
    local tree=$QELVANE_BUILD/$1
    shift
    rm -f "$tree/junit.xml"
    ctest --preset "$@" --output-junit junit.xml
    count $(summary_of "$tree/junit.xml")
}

log "native build and tests"
if configure_and_build native; then
    ctest_counted native native -j "$(nproc)"
else
    count 0 1 0
fi

log "release builds"
for preset in release-x64 release-i686; do
    configure_and_build "$preset" || count 0 1 0
done

log "Windows tests under Wine"
# The 64-bit prefix first (CTest lists the in-process tests by running their binary there), made
# while the tests build, as Wine spends much of that time waiting; CTest's fixtures make the others.
wine_ready() {
    must -q cmake --preset wintest && start_virtual_display || return
    sed 's/^\([^ ]*\) /== skipped: the tests of the \1 lane: /' "$QELVANE_BUILD/wintest/lanes-off.txt" >&2
    QELVANE_STARTED_PREFIXES+=("$(prefix_of 64)" "$(prefix_of xp)" "$(prefix_of dpi)")
    local maker="" built=0
    lane_off 64 >/dev/null || { ensure_wine_prefix & maker=$!; }
    must cmake --build --preset wintest -j "$(nproc)" || built=$?
    [ -z "$maker" ] || wait "$maker" || { failure "making the Wine prefix $WINEPREFIX"; return 1; }
    return "$built"
}
retried=()
if wine_ready; then
    # A Wine test that fails runs once more (docs/wine-notes.md: a launch can block for good).
    ctest_counted wintest wintest -j 2 --repeat until-pass:2
    # Passed only when run again: run twice by CTest's log ("N/M Testing: NAME"), passed by JUnit.
    tree=$QELVANE_BUILD/wintest
    mapfile -t retried < <(comm -12 <(sed -n 's/^[0-9]*\/[0-9]* Testing: //p' "$tree/Testing/Temporary/LastTest.log" |
        sort | uniq -d) <(sed -n 's/.*<testcase name="\([^"]*\)".*status="run".*/\1/p' "$tree/junit.xml" | sort))
else
    count 0 1 0
fi

# Opt-in: QELVANE_SOAK=N plays seeds 0 to N-1 of the random use test, QELVANE_SOAK=A-B
# seeds A to B (about 1.3 s a seed), in the 64-bit prefix.
if [ -n "$soak" ] && why=$(lane_off 64); then
    log "skipped: the soak, which needs the 64 lane: $why"
    count 0 0 1
elif [ -n "$soak" ]; then
    seeds=$soak
    [[ $seeds == *-* ]] && seeds=$((${seeds#*-} - ${seeds%-*} + 1))
    log "soak: seeds $soak of random use ($seeds seeds)"
    QELVANE_SOAK=$soak QELVANE_WINE_TIMEOUT=$((seeds * 5 + 120)) scripts/wine-exec.sh \
        "$QELVANE_BUILD/wintest/bin/window_tests.exe" --gtest_filter='RandomUse.*' 2>&1 | tail -n 5 && count 1 0 0 ||
        count 0 1 0
fi

cleanup_session
[ ${#retried[@]} -eq 0 ] || echo "passed on retry: $(printf '%s, ' "${retried[@]}" | sed 's/, $//')"
for line in "${QELVANE_FAILURES[@]}"; do echo "$line"; done
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
