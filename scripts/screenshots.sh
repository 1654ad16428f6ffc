#!/usr/bin/env bash
# Takes the screenshots of docs/screenshots/ (or of the folder given): the x86-64 program
# in the 64-bit prefix (main, progress, question and help windows; --main: the main window
# alone) and, where the xp lane runs, the i686 program in the XP prefix (main window), in a
# Wine virtual desktop for title bars, driven by the UI automation tool of its lane.
# QELVANE_DPI=144 or 192: at that resolution, on a screen as many inches large as 1024x768
# at 96 DPI. A failure is named in the last line.
set -eEuo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"
say_failure_on_stop
main_only=""
[ "${1:-}" = --main ] && { main_only=1; shift; }
install_packages
for preset in release-x64 release-i686; do configure_and_build "$preset" >/dev/null; done
# Of the test tree only the UI automation tools; configuring it decides the lanes.
must -q cmake --preset wintest
must -q cmake --build --preset wintest -j "$(nproc)" --target uidriver i686_tools
dpi=${QELVANE_DPI:-96}
out=${1:-$QELVANE_ROOT/docs/screenshots}
mkdir -p "$out"
suffix=""
[ "$dpi" = 96 ] || suffix="-${dpi}dpi"
export QELVANE_SCREEN=$((1024 * dpi / 96))x$((768 * dpi / 96))
export QELVANE_VIRTUAL_DESKTOP=$QELVANE_SCREEN
export QELVANE_WINEPREFIX=$QELVANE_BUILD/wineprefix-desktop QELVANE_XP_PREFIX=$QELVANE_BUILD/wineprefix-xp-desktop
trap cleanup_session EXIT
start_virtual_display
# The desktop opened while the settings are written keeps its size: that session ends first.
prepare_prefix() { ensure_wine_prefix; wineserver -w; }
drive() {
    local driver=$QELVANE_BUILD/wintest/bin/uidriver.exe
    [ "$QELVANE_PREFIX_KIND" = xp ] && driver=$QELVANE_BUILD/wintest/bin/i686/uidriver.exe
    # Wine decodes the arguments, the captions among them, in the locale's encoding.
    LC_ALL=C.UTF-8 must timeout 150 "$WINELOADER" "$driver" "$@" >/dev/null
}
shot() { sleep 1.5; import -window root "$out/$1$suffix.png"; echo "Screenshot: $out/$1$suffix.png"; }
start_program() {
    use_prefix "$1"
    prepare_prefix
    "$WINELOADER" "$2" >/dev/null 2>&1 &
    drive wait QelvaneForm1 shown 60000
}

if why=$(lane_off 64); then
    echo "No screenshot of the x86-64 program in the 64-bit prefix: $why"
else
    start_program 64 "$QELVANE_BUILD/release-x64/qelvane.exe"
    shot main-window
    if [ -z "$main_only" ]; then
        drive click QelvaneForm1 自动优化
        drive wait QelvaneList 优化完成！ 120000
        shot progress-window
        drive click QelvaneList 退出 QelvaneForm1 '按提问优化(建议)'
        drive wait QelvaneDialog shown 60000
        for step in "QelvaneDialog QelvaneDialog1" "QelvaneDialog1 QelvaneDialog2" "QelvaneDialog2 QelvaneDialog3"; do
            read -r answered next <<<"$step"
            drive click "$answered" 是
            drive wait "$next" shown 60000
        done
        shot questionnaire
        drive click QelvaneDialog3 退出 QelvaneForm1 帮助
        drive wait QelvaneHelp shown 60000
        shot help
    fi
    wineserver -k
fi

if why=$(lane_off xp); then
    echo "No screenshot of the i686 program in the Windows XP prefix: $why"
    exit 0
fi
start_program xp "$QELVANE_BUILD/release-i686/qelvane.exe"
shot main-window-xp
