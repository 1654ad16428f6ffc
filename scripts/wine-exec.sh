#!/usr/bin/env bash
# Runs a Windows test binary under Wine with a time limit, for CTest. Never in a prefix
# that the scripts have not finished: Wine would make a missing one itself, unstamped and
# without the settings.
set -u
: "${WINEPREFIX:?run the Windows tests through scripts/test.sh}"
: "${DISPLAY:?no display: run the Windows tests through scripts/test.sh}"
export WINEDEBUG=${WINEDEBUG:--all}
loader=${WINELOADER:-/usr/lib/wine/wine64}
case $(cat "$WINEPREFIX/.qelvane-stamp" 2>/dev/null) in
    "" | unfinished)
        echo "failed: Wine prefix $WINEPREFIX is not ready (no finished .qelvane-stamp): run scripts/test.sh"
        exit 1 ;;
esac
# QELVANE_TEST_DPI: the display's resolution for this test, and QELVANE_TEST_DESKTOP (WxH) the
# screen, a Wine virtual desktop of that size; set in its prefix, where they stay, and read by
# Wine as each process starts. Every test there names its screen: a process on the X screen
# reads the size of a virtual desktop still open in the prefix. regedit says nothing of what it
# could not read: the tests check both themselves.
if [ -n "${QELVANE_TEST_DPI:-}" ]; then
    : "${QELVANE_TEST_DESKTOP:?a test at QELVANE_TEST_DPI names its screen too}"
    {
        printf 'REGEDIT4\r\n'
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$QELVANE_TEST_DPI"
        printf '\r\n[HKEY_CURRENT_CONFIG\\Software\\Fonts]\r\n"LogPixels"=dword:%08x\r\n' "$QELVANE_TEST_DPI"
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="qelvane-%s"\r\n' "$QELVANE_TEST_DESKTOP"
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"qelvane-%s"="%s"\r\n' \
            "$QELVANE_TEST_DESKTOP" "$QELVANE_TEST_DESKTOP"
    } >"$WINEPREFIX/drive_c/qelvane-test-settings.reg"
    timeout 60 "$loader" regedit /S 'C:\qelvane-test-settings.reg' >/dev/null 2>&1 ||
        { echo "failed: regedit of the resolution and screen in $WINEPREFIX"; exit 1; }
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
