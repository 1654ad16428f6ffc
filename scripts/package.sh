#!/usr/bin/env bash
# Builds both release .exe files and packs them with the readmes and a SHA256SUMS file
# into dist/qelvane-1.2.zip. Two runs from clean clones give the same bytes.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"
install_packages
configure_and_build release-i686 >/dev/null
configure_and_build release-x64 >/dev/null
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dir="$stage/qelvane-1.2"
mkdir -p "$dir" dist
cp "$QELVANE_BUILD/release-i686/qelvane.exe" "$dir/qelvane-x86.exe"
cp "$QELVANE_BUILD/release-x64/qelvane.exe" "$dir/qelvane-x64.exe"
# Windows readers expect CR LF; the Chinese readme keeps UTF-8 with a byte-order mark for Notepad.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' packaging/readme-zh.txt; } > "$dir/说明.txt"
sed 's/$/\r/' packaging/readme-en.txt > "$dir/README.txt"
(cd "$dir" && LC_ALL=C sha256sum qelvane-x86.exe qelvane-x64.exe README.txt 说明.txt > SHA256SUMS)
# Fixed times, modes and order: nothing of the build machine goes into the archive.
chmod 755 "$dir"; chmod 644 "$dir"/*
TZ=UTC touch -d 2026-12-06 "$dir" "$dir"/*
rm -f dist/qelvane-1.2.zip
(cd "$stage" && { echo qelvane-1.2/; LC_ALL=C ls -d qelvane-1.2/* | LC_ALL=C sort; } |
    TZ=UTC zip -qX -@ "$QELVANE_ROOT/dist/qelvane-1.2.zip")
sha256sum dist/qelvane-1.2.zip
