#!/usr/bin/env bash
# Runs a Windows test binary under Wine with a time limit, for CTest.
set -u
: "${WINEPREFIX:?run the Windows tests through scripts/test.sh}"
: "${DISPLAY:?no display: run the Windows tests through scripts/test.sh}"
export WINEDEBUG=${WINEDEBUG:--all}
exec timeout --kill-after=10 "${QELVANE_WINE_TIMEOUT:-240}" "${WINELOADER:-/usr/lib/wine/wine64}" "$@"
