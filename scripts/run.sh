#!/usr/bin/env bash
# Builds the program and runs it under Wine. With a display it simply starts the
# x86_64 release; without one it starts it on a virtual display inside a Wine
# virtual desktop, saves screenshots into build/screenshots/ and exits.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"

install_packages
configure_and_build release-x64
configure_and_build release-i686
exe="$QELVANE_BUILD/release-x64/qelvane.exe"

trap cleanup_session EXIT
if [ -n "${DISPLAY:-}" ]; then
    ensure_wine_prefix
    wine "$exe"
    exit 0
fi

shots="$QELVANE_BUILD/screenshots"
mkdir -p "$shots"
start_virtual_display
ensure_wine_prefix
wine explorer /desktop=qelvane,800x600 "$exe" &
for _ in $(seq 1 300); do
    xdotool search --name '^Qelvane1\.2$' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 2
import -window root "$shots/main-window.png"
echo "Screenshot of the main window: $shots/main-window.png"
