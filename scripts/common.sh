# Shared by the scripts: packages, the lanes this machine runs, the Wine prefixes
# under build/, and a virtual display. Source it; it defines functions and cleans up
# what it started.
#
# Two lanes, each with its prefix: 64 (build/wineprefix, 64-bit, for the x86-64
# builds) and xp (build/wineprefix-xp, 32-bit, reporting Windows XP, for the i686
# build); and dpi (build/wineprefix-dpi), a copy of the 64-bit prefix in which the
# tests of the windows at larger text sizes set their resolution. `use_prefix
# 64|xp|dpi` selects one for the commands that follow.

QELVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Always build/ under the source: the CMake presets build there.
QELVANE_BUILD=$QELVANE_ROOT/build
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko installers, no Linux browser opened by the download-page launch, and no
# menu entries or file types written into the home folder.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winebrowser.exe=d;winemenubuilder.exe=d"}

QELVANE_PACKAGES=(cmake make g++ python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
                  wine wine64 wine32:i386 fonts-wine xvfb xauth fonts-arphic-uming fontconfig imagemagick xdotool
                  x11-apps x11-utils googletest zip)
QELVANE_PACKAGES+=(fonts-wqy-zenhei)  # the banner's font, for resources/make_artwork.py

log() { printf '== %s\n' "$*" >&2; }

# Says a failure in a line ("failed: …") and keeps it for the script's last words.
QELVANE_FAILURES=()
failure() {
    QELVANE_FAILURES+=("failed: $*")
    log "${QELVANE_FAILURES[-1]}"
}

# Runs a command (-q: showing its output only when it fails); a failure is said with
# the command and its exit status.
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

# For a script that stops at its first failure (set -eE): a failure that `must` has
# not said already is said with its command and status, as the script's last line.
say_failure_on_stop() {
    trap 'rc=$?; [ ${#QELVANE_FAILURES[@]} -gt 0 ] || log "failed: $BASH_COMMAND (exit $rc)"' ERR
}

# Runs an apt-get command again while another run's apt-get holds a lock it needs, for up
# to 10 minutes: apt-get update does not wait for the lock of the package lists, whatever
# DPkg::Lock::Timeout says (apt 2.6 fails at once).
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

# The lanes that run: 64 always, xp where this machine starts 32-bit programs (some
# cannot at all: "Exec format error"). QELVANE_LANES=64, xp or 64,xp chooses by hand;
# asking for a lane that cannot run is an error. Exports QELVANE_LANES_RUN ("64 xp")
# and, for a lane that does not run, QELVANE_LANE_64_OFF or QELVANE_LANE_XP_OFF with
# the reason, which scripts/lane.sh gives when it skips that lane's tests.
choose_lanes() {
    local wanted=${QELVANE_LANES:-64,xp} lane probe xp_cannot=""
    probe=$(/usr/lib/wine/wine --version 2>&1) ||
        xp_cannot="this machine cannot start 32-bit programs (/usr/lib/wine/wine: ${probe##*: })"
    export QELVANE_LANES_RUN="" QELVANE_LANE_64_OFF="not chosen (QELVANE_LANES=$wanted)"
    export QELVANE_LANE_XP_OFF=$QELVANE_LANE_64_OFF
    for lane in ${wanted//,/ }; do
        case $lane in
            64) QELVANE_LANES_RUN+=" 64" QELVANE_LANE_64_OFF="" ;;
            xp) if [ -z "$xp_cannot" ]; then
                    QELVANE_LANES_RUN+=" xp" QELVANE_LANE_XP_OFF=""
                elif [ -n "${QELVANE_LANES:-}" ]; then
                    failure "QELVANE_LANES=$wanted asks for the xp lane, but $xp_cannot"
                    return 1
                else
                    QELVANE_LANE_XP_OFF=$xp_cannot
                fi ;;
            *) failure "QELVANE_LANES=$wanted: no lane \"$lane\" (64, xp or 64,xp)"
               return 1 ;;
        esac
    done
    QELVANE_LANES_RUN=${QELVANE_LANES_RUN# }
    local said="lanes: ${QELVANE_LANES_RUN// / and } run"
    [ -z "$QELVANE_LANE_64_OFF" ] || said+="; 64 does not: $QELVANE_LANE_64_OFF"
    [ -z "$QELVANE_LANE_XP_OFF" ] || said+="; xp does not: $QELVANE_LANE_XP_OFF"
    log "$said"
}
lane_runs() { case " ${QELVANE_LANES_RUN-} " in *" $1 "*) return 0 ;; esac; return 1; }

# The 64-bit prefix's folder (QELVANE_WINEPREFIX names another one), as it is when asked.
prefix_64() { printf '%s\n' "${QELVANE_WINEPREFIX:-$QELVANE_BUILD/wineprefix}"; }

# Selects a prefix: WINEPREFIX, WINEARCH, and the loader that starts its programs
# directly (with wine32 installed, /usr/bin/wine is the 32-bit loader, which hands a
# 64-bit program on to a second process).
use_prefix() {
    case "$1" in
        64) export WINEPREFIX=$(prefix_64) WINEARCH=win64
            export WINELOADER=/usr/lib/wine/wine64 ;;
        xp) export WINEPREFIX=${QELVANE_XP_PREFIX:-$QELVANE_BUILD/wineprefix-xp} WINEARCH=win32
            export WINELOADER=/usr/lib/wine/wine ;;
        dpi) export WINEPREFIX=$QELVANE_BUILD/wineprefix-dpi WINEARCH=win64
            export WINELOADER=/usr/lib/wine/wine64 ;;
        *) log "no prefix kind $1"; return 1 ;;
    esac
    QELVANE_PREFIX_KIND=$1
}
use_prefix 64

QELVANE_XVFB_PID=""
QELVANE_STARTED_PREFIXES=()

cleanup_session() {
    local prefix
    for prefix in "${QELVANE_STARTED_PREFIXES[@]}"; do
        WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    done
    QELVANE_STARTED_PREFIXES=()
    cleanup_display
}

# Stops the Xvfb this script started, and no other.
cleanup_display() {
    if [ -n "$QELVANE_XVFB_PID" ]; then
        kill "$QELVANE_XVFB_PID" 2>/dev/null || true
        wait "$QELVANE_XVFB_PID" 2>/dev/null || true
        QELVANE_XVFB_PID=""
    fi
}

# Starts Xvfb, QELVANE_SCREEN pixels large (1024x768 unless set), on the display it
# reports itself: Xvfb picks a free number and writes it once it accepts clients, so
# two runs on one machine never share a display, nor take another's for their own.
start_virtual_display() {
    local xvfb=(Xvfb -displayfd 3 -screen 0 "${QELVANE_SCREEN:-1024x768}x24" -nolisten tcp -dpi "${QELVANE_DPI:-96}")
    local fd n rc
    exec {fd}< <(exec "${xvfb[@]}" 3>&1 >/dev/null 2>&1)
    QELVANE_XVFB_PID=$!
    read -r -t 30 -u "$fd" n && rc=0 || rc=$?
    exec {fd}<&-
    if [ "$rc" -eq 0 ]; then
        export DISPLAY=":$n"
        return 0
    fi
    if [ "$rc" -gt 128 ]; then
        cleanup_display
        failure "${xvfb[*]} (no display reported in 30 s)"
    else
        wait "$QELVANE_XVFB_PID" && rc=0 || rc=$?
        QELVANE_XVFB_PID=""
        failure "${xvfb[*]} (exit $rc before reporting a display)"
    fi
    return 1
}

write_prefix_settings() {
    # Inside drive C, so that Wine is given its path without winepath: winepath runs
    # /usr/bin/wine, the 32-bit loader, which cannot start on every machine.
    local reg="$WINEPREFIX/drive_c/qelvane-settings.reg"
    # A Song face with CJK glyphs for the faces the windows ask for, as on a Chinese
    # Windows (docs/wine-notes.md says why this one); no window manager (Xvfb), so Wine
    # must not wait for one on every hide.
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        for face in "宋体" "SimSun" "新宋体" "NSimSun" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif" "Microsoft Sans Serif"; do
            printf '"%s"="%s"\r\n' "$face" "${QELVANE_CJK_FONT:-AR PL UMing CN}"
        done
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "${QELVANE_DPI:-96}"
        # Smoothed text, as Windows shows it: small CJK glyphs are unreadable without.
        printf '"FontSmoothing"="2"\r\n"FontSmoothingType"=dword:00000002\r\n"FontSmoothingGamma"=dword:00000578\r\n"FontSmoothingOrientation"=dword:00000001\r\n'
        printf '\r\n[HKEY_CURRENT_CONFIG\\Software\\Fonts]\r\n"LogPixels"=dword:%08x\r\n' "${QELVANE_DPI:-96}"
        # Every program of the prefix in one virtual desktop with window frames.
        if [ -n "${QELVANE_VIRTUAL_DESKTOP:-}" ]; then
            printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n'
            printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n' "$QELVANE_VIRTUAL_DESKTOP"
        fi
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
    # regedit exits 0 even when it read nothing: ask for one of the values instead.
    "$WINELOADER" regedit /S 'C:\qelvane-settings.reg' >/dev/null 2>&1
    must -q "$WINELOADER" reg query 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun || return
    # The face they name must be installed, or every CJK text is drawn as boxes.
    local face=${QELVANE_CJK_FONT:-AR PL UMing CN}
    [ -n "$(fc-list "$face" family)" ] || { failure "no font \"$face\" installed (fc-list)"; return 1; }
}

# What made a prefix: a prefix made by another Wine installation or architecture
# fails to start ("could not load kernel32.dll"), so it is made again, never reused.
prefix_stamp() {
    printf '%s %s %s\n' "$QELVANE_PREFIX_KIND" "$WINEARCH" "$("$WINELOADER" --version 2>&1)"
    dpkg-query -W -f='${Package}:${Architecture} ${Version}\n' wine64 wine32:i386 libwine libwine:i386 2>/dev/null
}

# Removes a folder of these scripts: renamed first, so that one left half removed bears a
# name of theirs (ensure_wine_prefix removes it at the next run), never the prefix's own
# without its stamp.
remove_folder() {
    [ -e "$1" ] || [ -L "$1" ] || return 0
    must mv -T "$1" "$1.qelvane-old" && rm -rf "$1.qelvane-old"
}

# Makes the selected prefix when it is missing or empty, and again when these scripts
# made it with something else. A folder that is not empty and has no stamp is not
# theirs (say, a QELVANE_WINEPREFIX pointed at ~/.wine): it is never removed. Then
# applies the settings.
ensure_wine_prefix() {
    local prefix=${WINEPREFIX%/}
    local stamp_file="$prefix/.qelvane-stamp" stamp
    # What an interrupted run left: a copy not yet in place, a prefix not yet removed.
    rm -rf "$prefix.qelvane-new" "$prefix.qelvane-old"
    if [ ! -e "$stamp_file" ] && [ -e "$prefix" ] &&
       { [ ! -d "$prefix" ] || [ -n "$(ls -A "$prefix")" ]; }; then
        failure "Wine prefix $prefix: not empty and not made by these scripts (no .qelvane-stamp), so left as it is; choose a new or empty folder"
        return 1
    fi
    QELVANE_STARTED_PREFIXES+=("$WINEPREFIX")
    stamp=$(prefix_stamp)
    if [ "$(cat "$stamp_file" 2>/dev/null)" != "$stamp" ]; then
        log "making Wine prefix $prefix ($QELVANE_PREFIX_KIND)"
        wineserver -k >/dev/null 2>&1 || true
        remove_folder "$prefix" || return
        if [ "$QELVANE_PREFIX_KIND" = dpi ]; then
            # Wine reads the resolution as each process starts, and a test sets it for
            # the whole prefix: a copy, so that it never reaches the other tests. Made
            # beside it and put in place whole, since it brings the 64-bit prefix's stamp.
            local from new="$prefix.qelvane-new"
            from=$(prefix_64)
            if [ "$(cat "$from/.qelvane-stamp" 2>/dev/null)" != "64${stamp#dpi}" ]; then
                failure "Wine prefix $from: not ready, so not copied into $prefix"
                return 1
            fi
            WINEPREFIX=$from wineserver -w
            must cp -a -T "$from" "$new" || return
            printf '%s\n' "$stamp" > "$new/.qelvane-stamp"
            must mv -T "$new" "$prefix" || return
        else
            # Stamped before Wine fills it in place, so that one left half made is made afresh.
            must mkdir -p "$prefix" || return
            echo unfinished > "$stamp_file"
            must -q "$WINELOADER" wineboot.exe -i || return
            if [ "$QELVANE_PREFIX_KIND" = xp ]; then must -q "$WINELOADER" winecfg.exe -v winxp || return; fi
            wineserver -w
            printf '%s\n' "$stamp" > "$stamp_file"
        fi
    fi
    write_prefix_settings
}

configure_and_build() {
    local preset=$1
    must -q cmake --preset "$preset" || return
    must cmake --build --preset "$preset" -j "$(nproc)"
}
