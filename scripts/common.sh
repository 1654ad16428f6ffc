# Shared by the scripts (source it): packages, the Wine prefixes under build/ (`use_prefix
# 64|xp|dpi`: 64-bit, 32-bit reporting Windows XP, a copy of the 64-bit one for the tests at
# larger text sizes), a virtual display, and the clean-up of what the script started.

QELVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QELVANE_BUILD=$QELVANE_ROOT/build  # where the CMake presets build
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko installers, no Linux browser opened by the download-page launch, and no
# menu entries or file types written into the home folder.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winebrowser.exe=d;winemenubuilder.exe=d"}

QELVANE_PACKAGES=(cmake make g++ python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
                  wine wine64 wine32:i386 fonts-wine xvfb xauth fonts-arphic-uming fontconfig imagemagick xdotool
                  x11-apps x11-utils googletest zip fonts-wqy-zenhei)

log() { printf '== %s\n' "$*" >&2; }

# Says a failure ("failed: …") and keeps it for the script's last words.
QELVANE_FAILURES=()
failure() {
    QELVANE_FAILURES+=("failed: $*")
    log "${QELVANE_FAILURES[-1]}"
}

# Runs a command (-q: its output shown only when it fails); a failure is said with its status.
must() {
    local quiet="" out rc
    [ "$1" = -q ] && { quiet=1; shift; }
    if [ -n "$quiet" ]; then
        out=$(mktemp)
        "$@" >"$out" 2>&1 && rc=0 || rc=$?
        [ "$rc" -eq 0 ] || tail -n 20 "$out" >&2
        rm -f "$out"
    else
        "$@" && rc=0 || rc=$?
    fi
    [ "$rc" -eq 0 ] && return 0
    failure "$* (exit $rc)"
    return "$rc"
}

# For a script that stops at its first failure (set -eE): one that `must` has not said is
# said with its command and status, as the last line.
say_failure_on_stop() {
    trap 'rc=$?; [ ${#QELVANE_FAILURES[@]} -gt 0 ] || log "failed: $BASH_COMMAND (exit $rc)"' ERR
}

# Runs apt-get again while another run's holds a lock it needs, for up to 10 minutes: apt-get
# update does not wait for the package lists' lock, whatever DPkg::Lock::Timeout says.
apt_waiting_for_lock() {
    local out rc deadline=$((SECONDS + 600))
    out=$(mktemp)
    while :; do
        "$@" >"$out" 2>&1 && rc=0 || rc=$?
        [ "$rc" -ne 0 ] && [ "$SECONDS" -lt "$deadline" ] && grep -q 'Could not get lock' "$out" || break
        sleep 5
    done
    cat "$out"
    rm -f "$out"
    return "$rc"
}

install_packages() {
    local missing=()
    for p in "${QELVANE_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    # Wine's 32-bit half comes from the i386 architecture.
    dpkg --print-foreign-architectures | grep -qx i386 || must $sudo dpkg --add-architecture i386 || return
    must -q apt_waiting_for_lock $sudo apt-get update -qq || return
    # Another run's apt-get may hold dpkg's lock (for a minute or two): wait for it.
    must -q $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

# Why a lane does not run here, as CMake decided (cmake/lanes.cmake); status 1 where it runs.
lane_off() {
    sed -n "s/^$1 //p" "$QELVANE_BUILD/wintest/lanes-off.txt" | grep .
}

# A prefix's folder (64, xp or dpi; QELVANE_WINEPREFIX and QELVANE_XP_PREFIX name others).
prefix_of() {
    case "$1" in
        64) printf '%s\n' "${QELVANE_WINEPREFIX:-$QELVANE_BUILD/wineprefix}" ;;
        xp) printf '%s\n' "${QELVANE_XP_PREFIX:-$QELVANE_BUILD/wineprefix-xp}" ;;
        dpi) printf '%s\n' "$QELVANE_BUILD/wineprefix-dpi" ;;
    esac
}

# Selects a prefix: WINEPREFIX, WINEARCH, and the loader that starts its programs
# directly (with wine32 installed, /usr/bin/wine is the 32-bit loader, which hands a
# 64-bit program on to a second process).
use_prefix() {
    [[ $1 =~ ^(64|xp|dpi)$ ]] || { failure "no prefix kind $1 (64, xp or dpi)"; return 1; }
    WINEPREFIX=$(prefix_of "$1")
    export WINEPREFIX WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
    [ "$1" != xp ] || export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
    QELVANE_PREFIX_KIND=$1
}
use_prefix 64

QELVANE_XVFB_PID=""
QELVANE_STARTED_PREFIXES=()

# Stops the wineservers of the prefixes this script used and the Xvfb it started, no other.
cleanup_session() {
    local prefix
    for prefix in "${QELVANE_STARTED_PREFIXES[@]}"; do
        [ ! -d "$prefix" ] || WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    done
    QELVANE_STARTED_PREFIXES=()
    [ -z "$QELVANE_XVFB_PID" ] || { kill "$QELVANE_XVFB_PID"; wait "$QELVANE_XVFB_PID"; } 2>/dev/null
    QELVANE_XVFB_PID=""
}

# Starts Xvfb, QELVANE_SCREEN pixels large (1024x768 unless set), on the display it
# reports itself: Xvfb picks a free number and writes it once it accepts clients, so
# two runs on one machine never share a display, nor take another's for their own.
start_virtual_display() {
    local xvfb=(Xvfb -displayfd 3 -screen 0 "${QELVANE_SCREEN:-1024x768}x24" -nolisten tcp -dpi "${QELVANE_DPI:-96}")
    local fd n
    exec {fd}< <(exec "${xvfb[@]}" 3>&1 >/dev/null 2>&1)
    QELVANE_XVFB_PID=$!
    if read -r -t 30 -u "$fd" n; then
        export DISPLAY=":$n"
    else
        cleanup_session
        failure "${xvfb[*]} (no display reported)"
    fi
    exec {fd}<&-
    [ -n "${n:-}" ]
}

# Makes the selected prefix when it is missing, empty or made with another Wine, and
# applies the settings (cmake/wine_prefix.cmake says how).
ensure_wine_prefix() {
    QELVANE_STARTED_PREFIXES+=("$WINEPREFIX")
    must cmake -D KIND="$QELVANE_PREFIX_KIND" -D PREFIX="$WINEPREFIX" -D FROM="$(prefix_of 64)" \
        -D DPI="${QELVANE_DPI:-96}" -D DESKTOP="${QELVANE_VIRTUAL_DESKTOP:-}" -P "$QELVANE_ROOT/cmake/wine_prefix.cmake"
}

configure_and_build() {
    must -q cmake --preset "$1" || return
    must cmake --build --preset "$1" -j "$(nproc)"
}
