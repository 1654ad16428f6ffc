#!/usr/bin/env bash
# Builds the program and runs it under Wine: with a display the x86-64 release in the
# 64-bit prefix (QELVANE_RUN=xp: the i686 release in the XP prefix); without one, saves a
# screenshot of the main window of each lane that runs into build/screenshots/ and exits.
# A failure is named in the last line.
set -eEuo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"
say_failure_on_stop

if [ -z "${DISPLAY:-}" ]; then
    exec bash scripts/screenshots.sh --main "$QELVANE_BUILD/screenshots"
fi
install_packages
kind=${QELVANE_RUN:-64}
preset=release-x64
if [ "$kind" = xp ]; then
    preset=release-i686
    must -q cmake --preset wintest
    if why=$(lane_off xp); then failure "QELVANE_RUN=xp, but the xp lane does not run: $why"; exit 1; fi
fi
configure_and_build "$preset"
trap cleanup_session EXIT
use_prefix "$kind"
ensure_wine_prefix
"$WINELOADER" "$QELVANE_BUILD/$preset/qelvane.exe"
