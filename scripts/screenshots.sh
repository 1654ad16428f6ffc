#!/usr/bin/env bash
# Takes the screenshots kept in docs/screenshots/: the program inside a Wine virtual
# desktop (for title bars), driven by the test tree's UI automation tool.
# QELVANE_DPI=120 or 144 takes them at another display resolution.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"
install_packages
configure_and_build wintest >/dev/null
dpi=${QELVANE_DPI:-96}
out=${1:-$QELVANE_ROOT/docs/screenshots}
mkdir -p "$out"
suffix=""
[ "$dpi" = 96 ] || suffix="-${dpi}dpi"
bin="$QELVANE_BUILD/wintest/bin"
export QELVANE_VIRTUAL_DESKTOP=1024x768
export WINEPREFIX=${QELVANE_SHOTS_PREFIX:-$QELVANE_BUILD/wineprefix-desktop}
trap cleanup_session EXIT
start_virtual_display
ensure_wine_prefix
drive() { wine "$bin/uidriver.exe" "$@" >/dev/null; }
shot() { sleep 1.5; import -window root "$out/$1$suffix.png"; echo "$out/$1$suffix.png"; }

wine "$bin/qelvane.exe" >/dev/null 2>&1 &
drive wait QelvaneForm1 shown 60000
shot main-window
drive click QelvaneForm1 103
drive wait QelvaneList shown 60000
for _ in $(seq 1 600); do
    [ "$(wine "$bin/uidriver.exe" text QelvaneList 0)" = "优化完成！" ] && break
    sleep 0.5
done
shot progress-window
