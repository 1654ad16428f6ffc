# Shared by run.sh and test.sh: packages, the Wine prefix under build/, and a
# virtual display. Source it; it defines functions and cleans up what it started.

QELVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QELVANE_BUILD=${QELVANE_BUILD:-$QELVANE_ROOT/build}
export WINEPREFIX=${QELVANE_WINEPREFIX:-$QELVANE_BUILD/wineprefix}
# The end-to-end tests' own prefix, where test services stand in for the real ones.
export QELVANE_SERVICE_PREFIX=${QELVANE_SERVICE_PREFIX:-$QELVANE_BUILD/wineprefix-services}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko installers, and no Linux browser opened by the download-page launch.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winebrowser.exe=d"}

QELVANE_PACKAGES=(cmake make g++ python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
                  wine wine64 fonts-wine xvfb xauth fonts-wqy-zenhei imagemagick xdotool x11-apps x11-utils
                  googletest zip)

log() { printf '== %s\n' "$*" >&2; }

install_packages() {
    local missing=()
    for p in "${QELVANE_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

QELVANE_XVFB_PID=""
QELVANE_STARTED_WINE=""

cleanup_session() {
    if [ -n "$QELVANE_STARTED_WINE" ]; then
        wineserver -k >/dev/null 2>&1 || true
        # The tests keep that prefix's server up; a test that timed out may leave it.
        [ -d "$QELVANE_SERVICE_PREFIX" ] && { WINEPREFIX="$QELVANE_SERVICE_PREFIX" wineserver -k >/dev/null 2>&1 || true; }
        QELVANE_STARTED_WINE=""
    fi
    if [ -n "$QELVANE_XVFB_PID" ]; then
        kill "$QELVANE_XVFB_PID" 2>/dev/null || true
        wait "$QELVANE_XVFB_PID" 2>/dev/null || true
        QELVANE_XVFB_PID=""
    fi
}

# Starts Xvfb on a free display number unless told to use the current one.
start_virtual_display() {
    local n=${1:-90}
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -dpi "${QELVANE_DPI:-96}" >/dev/null 2>&1 &
    QELVANE_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    log "Xvfb did not start on :$n"
    return 1
}

write_prefix_settings() {
    local reg="$WINEPREFIX/qelvane-settings.reg"
    # Fonts with CJK glyphs for the faces the windows ask for; no window manager
    # (Xvfb), so Wine must not wait for one on every hide.
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        for face in "宋体" "SimSun" "新宋体" "NSimSun" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif" "Microsoft Sans Serif"; do
            printf '"%s"="WenQuanYi Zen Hei"\r\n' "$face"
        done
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "${QELVANE_DPI:-96}"
        # Smoothed text, as Windows shows it: small CJK glyphs are unreadable without.
        printf '"FontSmoothing"="2"\r\n"FontSmoothingType"=dword:00000002\r\n"FontSmoothingGamma"=dword:00000578\r\n"FontSmoothingOrientation"=dword:00000001\r\n'
        printf '\r\n[HKEY_CURRENT_CONFIG\\Software\\Fonts]\r\n"LogPixels"=dword:%08x\r\n' "${QELVANE_DPI:-96}"
        # Every program of the prefix in one virtual desktop with window frames, so that
        # the automation tool sees the windows it photographs.
        if [ -n "${QELVANE_VIRTUAL_DESKTOP:-}" ]; then
            printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n'
            printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n' "$QELVANE_VIRTUAL_DESKTOP"
        fi
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
    wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
}

# Initialises the prefix under build/ once; later calls only reapply the settings.
ensure_wine_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    QELVANE_STARTED_WINE=1
    if [ ! -f "$WINEPREFIX/.qelvane-ready" ]; then
        log "initialising Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.qelvane-ready"
    fi
    write_prefix_settings
}

configure_and_build() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
}
