#!/usr/bin/env bash
# Builds both release .exe files and packs them with the readmes and a SHA256SUMS file
# into qelvane-1.2.zip in the folder given (dist/ unless one is). Two runs from clean
# clones give the same bytes. A failure is named in the last line.
# --built packs the .exe files already built, as they are.
set -eEuo pipefail
source "$(dirname "$0")/common.sh"
say_failure_on_stop
built=""
[ "${1:-}" = --built ] && { built=1; shift; }
out=${1:-$QELVANE_ROOT/dist}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cd "$QELVANE_ROOT"
if [ -z "$built" ]; then
    install_packages
    configure_and_build release-i686 >/dev/null
    configure_and_build release-x64 >/dev/null
fi
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dir="$stage/qelvane-1.2"
mkdir "$dir"
cp "$QELVANE_BUILD/release-i686/qelvane.exe" "$dir/qelvane-x86.exe"
cp "$QELVANE_BUILD/release-x64/qelvane.exe" "$dir/qelvane-x64.exe"
# ASCII names only: Windows' zip folder reads a name in the system's OEM code page (437
# on English Windows, 936 on Chinese), so no other name reads right on both.
# Windows readers expect CR LF; the Chinese readme keeps UTF-8 with a byte-order mark for Notepad.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' packaging/readme-zh.txt; } > "$dir/README-zh.txt"
sed 's/$/\r/' packaging/readme-en.txt > "$dir/README-en.txt"
# Fixed times, modes and order: nothing of the build machine goes into the archive.
export LC_ALL=C TZ=UTC
cd "$dir"
sha256sum qelvane-x86.exe qelvane-x64.exe README-en.txt README-zh.txt > SHA256SUMS
chmod 755 .; chmod 644 ./*
touch -d 2026-12-06 . ./*
cd "$stage"
rm -f "$out/qelvane-1.2.zip"
must zip -qX "$out/qelvane-1.2.zip" qelvane-1.2/ qelvane-1.2/*
sha256sum "$out/qelvane-1.2.zip"
