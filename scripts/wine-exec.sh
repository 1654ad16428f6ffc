#!/usr/bin/env bash
# Runs a Windows test binary under Wine with a time limit, for CTest. Never in a prefix
# that the scripts have not finished: Wine would make a missing one itself, unstamped and
# without the settings.
set -u
: "${WINEPREFIX:?run the Windows tests through scripts/test.sh}"
: "${DISPLAY:?no display: run the Windows tests through scripts/test.sh}"
export WINEDEBUG=${WINEDEBUG:--all}
loader=${WINELOADER:-/usr/lib/wine/wine64}
grep -qvx unfinished "$WINEPREFIX/.qelvane-stamp" 2>/dev/null ||
    { echo "failed: Wine prefix $WINEPREFIX is not ready (no finished .qelvane-stamp): run scripts/test.sh"; exit 1; }
# QELVANE_TEST_DPI and QELVANE_TEST_DESKTOP (WxH): the resolution and screen of this test.
if [ -n "${QELVANE_TEST_DPI:-}" ]; then
    cmake -D DPI="$QELVANE_TEST_DPI" -D DESKTOP="${QELVANE_TEST_DESKTOP:-}" -D LOADER="$loader" \
        -P "$(dirname "$0")/../cmake/test_display.cmake" || exit 1
fi
# The output goes to CTest through a file, followed while the test runs: the desktop and
# service processes that the test starts inherit it and outlive the test by seconds,
# which CTest would wait for on a pipe.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
timeout --kill-after=10 "${QELVANE_WINE_TIMEOUT:-240}" "$loader" "$@" >"$out" 2>&1 &
test=$!
tail -s 0.1 -n +1 -f --pid="$test" "$out"
wait "$test" || exit
# A run of chosen GoogleTest tests passes on gtest's own verdict as well as its exit status:
# under Wine a test process can die and still exit with 0, and a filter can match nothing.
case " $* " in
    *" --gtest_filter="*)
        if ! grep -qE '^\[  PASSED  \] [1-9][0-9]* tests?\.' "$out" || grep -q '^\[  FAILED  \]' "$out"; then
            echo "failed: no test passed, or one failed, though the test process exited with 0"
            exit 1
        fi ;;
esac
