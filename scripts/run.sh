#!/usr/bin/env bash
# Builds the program and runs it under Wine. With a display it starts the x86-64
# release in the 64-bit prefix (QELVANE_RUN=xp: the i686 release in the Windows XP
# prefix). Without one it starts the program of each lane this machine runs (both,
# or only the x86-64 one where 32-bit programs cannot start) on a virtual display,
# each inside a Wine virtual desktop, saves a screenshot of each into
# build/screenshots/ and exits. A failure is named in the last line.
set -eEuo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"
say_failure_on_stop

install_packages
choose_lanes
if [ -n "${DISPLAY:-}" ] && [ "${QELVANE_RUN:-64}" = xp ] && ! lane_runs xp; then
    failure "QELVANE_RUN=xp, but the xp lane does not run: $QELVANE_LANE_XP_OFF"
    exit 1
fi
configure_and_build release-x64
configure_and_build release-i686
exe_64="$QELVANE_BUILD/release-x64/qelvane.exe"
exe_xp="$QELVANE_BUILD/release-i686/qelvane.exe"

trap cleanup_session EXIT
if [ -n "${DISPLAY:-}" ]; then
    use_prefix "${QELVANE_RUN:-64}"
    ensure_wine_prefix
    [ "$QELVANE_PREFIX_KIND" = xp ] && exe=$exe_xp || exe=$exe_64
    "$WINELOADER" "$exe"
    exit 0
fi

shots="$QELVANE_BUILD/screenshots"
mkdir -p "$shots"
start_virtual_display
for kind in 64 xp; do
    if ! lane_runs "$kind"; then
        if [ "$kind" = xp ]; then
            echo "No screenshot of the i686 program in the Windows XP prefix: $QELVANE_LANE_XP_OFF"
        else
            echo "No screenshot of the x86-64 program in the 64-bit prefix: $QELVANE_LANE_64_OFF"
        fi
        continue
    fi
    use_prefix "$kind"
    ensure_wine_prefix
    [ "$kind" = xp ] && exe=$exe_xp name=main-window-xp || exe=$exe_64 name=main-window
    "$WINELOADER" explorer.exe /desktop=qelvane,800x600 "$exe" >/dev/null 2>&1 &
    shown=""
    for _ in $(seq 1 300); do
        xdotool search --onlyvisible --name '^Qelvane1\.2$' >/dev/null 2>&1 && { shown=1; break; }
        sleep 0.1
    done
    [ -n "$shown" ] || { failure "xdotool search --onlyvisible --name '^Qelvane1\.2$' (no main window in 30 s, $kind)"; exit 1; }
    sleep 2
    import -window root -crop 800x600+0+0 "$shots/$name.png"
    echo "Screenshot of the main window ($kind): $shots/$name.png"
    wineserver -k >/dev/null 2>&1 || true
done
