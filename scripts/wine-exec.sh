#!/usr/bin/env bash
# Runs a Windows test binary under Wine with a time limit, for CTest, only in a prefix
# that scripts/lane.sh finds finished; a test of a lane (QELVANE_LANE) only where that
# lane runs (lane.sh skips it elsewhere).
set -u
: "${WINEPREFIX:?run the Windows tests through scripts/test.sh}"
: "${DISPLAY:?no display: run the Windows tests through scripts/test.sh}"
export WINEDEBUG=${WINEDEBUG:--all}
loader=${WINELOADER:-/usr/lib/wine/wine64}
"$(dirname "$0")/lane.sh" "${QELVANE_LANE:--}" true || exit
# QELVANE_TEST_DPI: the display's resolution for this test, set in its prefix, where it
# stays; Wine reads it as each process starts.
if [ -n "${QELVANE_TEST_DPI:-}" ]; then
    for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
        timeout 60 "$loader" reg add "$key" /v LogPixels /t REG_DWORD /d "$QELVANE_TEST_DPI" /f >/dev/null 2>&1 ||
            { echo "failed: reg add $key LogPixels $QELVANE_TEST_DPI in $WINEPREFIX"; exit 1; }
    done
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
