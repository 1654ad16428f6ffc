#!/usr/bin/env bash
# Runs a Windows test binary under Wine with a time limit, for CTest; a test of a lane
# (QELVANE_LANE) through scripts/lane.sh, which skips it where that lane does not run.
set -u
: "${WINEPREFIX:?run the Windows tests through scripts/test.sh}"
: "${DISPLAY:?no display: run the Windows tests through scripts/test.sh}"
export WINEDEBUG=${WINEDEBUG:--all}
gate=()
[ -n "${QELVANE_LANE:-}" ] && gate=("$(dirname "$0")/lane.sh" "$QELVANE_LANE")
exec "${gate[@]}" timeout --kill-after=10 "${QELVANE_WINE_TIMEOUT:-240}" "${WINELOADER:-/usr/lib/wine/wine64}" "$@"
