#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively (with
# sanitizers), then the windows and both shipped programs under Wine on a virtual display.
# Ends with the line "N passed, M failed".
set -uo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"

install_packages || { echo "0 passed, 1 failed"; exit 1; }
trap cleanup_session EXIT

summary_of() {  # reads CTest's closing line from a log: prints "passed failed"
    local line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
    if [ -z "$line" ]; then echo "0 1"; return; fi
    local failed total
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    echo "$((total - failed)) $failed"
}

passed=0
failed=0
mkdir -p "$QELVANE_BUILD"

log "native build and tests"
if configure_and_build native; then
    ctest --preset native -j "$(nproc)" 2>&1 | tee "$QELVANE_BUILD/native-tests.log"
    read -r p f < <(summary_of "$QELVANE_BUILD/native-tests.log")
else
    p=0; f=1
fi
passed=$((passed + p)); failed=$((failed + f))

log "release builds"
for preset in release-x64 release-i686; do
    configure_and_build "$preset" || failed=$((failed + 1))
done

log "Windows tests under Wine"
# The windows in-process and the x86-64 program in the 64-bit prefix, beside the i686
# program in the Windows XP prefix: two lanes, one per prefix.
if configure_and_build wintest && start_virtual_display &&
   use_prefix xp && ensure_wine_prefix && use_prefix 64 && ensure_wine_prefix; then
    # A Wine test that fails runs once more (docs/wine-notes.md: a launch can block for good).
    env -u QELVANE_SOAK ctest --preset wintest -j 2 --repeat until-pass:2 2>&1 | tee "$QELVANE_BUILD/wine-tests.log"
    read -r p f < <(summary_of "$QELVANE_BUILD/wine-tests.log")
else
    p=0; f=1
fi
passed=$((passed + p)); failed=$((failed + f))

# Opt-in: QELVANE_SOAK=N plays N seeds of the random use test (about N/2 minutes).
if [ -n "${QELVANE_SOAK:-}" ]; then
    log "soak: $QELVANE_SOAK seeds of random use"
    if QELVANE_WINE_TIMEOUT=$((QELVANE_SOAK * 5 + 120)) scripts/wine-exec.sh \
           "$QELVANE_BUILD/wintest/bin/window_tests.exe" --gtest_filter='RandomUse.*' 2>&1 | tail -n 5 |
       tee /dev/stderr | grep -q '^\[  PASSED  \] 1 test'; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
fi

cleanup_session
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
