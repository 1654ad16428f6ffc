#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively (with
# sanitizers), then the windows and the shipped programs under Wine on a virtual
# display, in the lanes this machine runs (choose_lanes in scripts/common.sh); the
# tests of a lane that does not run are skipped, with the reason.
# Ends with the line "N passed, M failed, K skipped".
set -uo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"

# Nothing could be tested: the count, then the command that stopped the run.
stop() {
    echo "0 passed, 1 failed, 0 skipped"
    echo "${QELVANE_FAILURES[-1]}"
    exit 1
}
install_packages || stop
choose_lanes || stop
trap cleanup_session EXIT

summary_of() {  # reads CTest's closing lines from a log: prints "passed failed skipped"
    local line failed total skipped
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
    if [ -z "$line" ]; then echo "0 1 0"; return; fi
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    skipped=$(grep -cE '^\s+[0-9]+ - .* \(Skipped\)$' "$1")
    echo "$((total - failed - skipped)) $failed $skipped"
}

# The tests of a CTest log that passed only when run again: CTest begins a test's first
# result line with the count ("3/21 Test  #7: …") and each rerun's with blanks alone.
retried_of() {
    sed -nE 's/^ +Test +#[0-9]+: (.+) \.+ +Passed +[0-9.]+ sec$/\1/p' "$1"
}

passed=0
failed=0
skipped=0
retried=()
count() { passed=$((passed + $1)); failed=$((failed + $2)); skipped=$((skipped + $3)); }
mkdir -p "$QELVANE_BUILD"

log "native build and tests"
if configure_and_build native; then
    ctest --preset native -j "$(nproc)" 2>&1 | tee "$QELVANE_BUILD/native-tests.log"
    count $(summary_of "$QELVANE_BUILD/native-tests.log")
else
    count 0 1 0
fi

log "release builds"
for preset in release-x64 release-i686; do
    configure_and_build "$preset" || count 0 1 0
done

log "Windows tests under Wine"
# The in-process tests and the x86-64 program in the 64-bit prefix, beside the i686
# program in the Windows XP prefix: one lane each. The 64-bit prefix is made in any
# case: CTest lists the in-process tests by running their binary there.
wine_ready() {
    configure_and_build wintest && start_virtual_display || return
    if lane_runs xp; then use_prefix xp && ensure_wine_prefix || return; fi
    use_prefix 64 && ensure_wine_prefix || return
    if lane_runs 64; then use_prefix dpi && ensure_wine_prefix && use_prefix 64; fi
}
if wine_ready; then
    # A Wine test that fails runs once more (docs/wine-notes.md: a launch can block for good).
    env -u QELVANE_SOAK ctest --preset wintest -j 2 --repeat until-pass:2 2>&1 | tee "$QELVANE_BUILD/wine-tests.log"
    count $(summary_of "$QELVANE_BUILD/wine-tests.log")
    mapfile -t retried < <(retried_of "$QELVANE_BUILD/wine-tests.log")
    [ -z "$QELVANE_LANE_64_OFF" ] || log "skipped: the tests of the 64 lane: $QELVANE_LANE_64_OFF"
    [ -z "$QELVANE_LANE_XP_OFF" ] || log "skipped: the tests of the xp lane: $QELVANE_LANE_XP_OFF"
else
    count 0 1 0
fi

# Opt-in: QELVANE_SOAK=N plays seeds 0 to N-1 of the random use test, QELVANE_SOAK=A-B
# seeds A to B (about 1.3 s a seed), in the 64-bit prefix.
if [ -n "${QELVANE_SOAK:-}" ]; then
    if ! lane_runs 64; then
        log "skipped: the soak, which needs the 64 lane: $QELVANE_LANE_64_OFF"
        count 0 0 1
    else
        seeds=$QELVANE_SOAK
        [[ $seeds == *-* ]] && seeds=$((${seeds#*-} - ${seeds%-*} + 1))
        log "soak: seeds ${QELVANE_SOAK} of random use ($seeds seeds)"
        if QELVANE_WINE_TIMEOUT=$((seeds * 5 + 120)) scripts/wine-exec.sh \
               "$QELVANE_BUILD/wintest/bin/window_tests.exe" --gtest_filter='RandomUse.*' 2>&1 | tail -n 5 |
           tee /dev/stderr | grep -q '^\[  PASSED  \] 1 test'; then
            count 1 0 0
        else
            count 0 1 0
        fi
    fi
fi

cleanup_session
if [ ${#retried[@]} -gt 0 ]; then
    printf -v line '%s, ' "${retried[@]}"
    echo "passed on retry: ${line%, }"
fi
for line in "${QELVANE_FAILURES[@]}"; do echo "$line"; done
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
