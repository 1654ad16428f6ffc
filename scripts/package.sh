#!/usr/bin/env bash
# Builds both release .exe files and packs them with the readmes into dist/qelvane-1.2.zip.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QELVANE_ROOT"
install_packages
configure_and_build release-i686 >/dev/null
configure_and_build release-x64 >/dev/null
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/qelvane-1.2" dist
cp "$QELVANE_BUILD/release-i686/qelvane.exe" "$stage/qelvane-1.2/qelvane-x86.exe"
cp "$QELVANE_BUILD/release-x64/qelvane.exe" "$stage/qelvane-1.2/qelvane-x64.exe"
# Windows readers expect CR LF; the Chinese readme keeps UTF-8 with a byte-order mark for Notepad.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' packaging/readme-zh.txt; } > "$stage/qelvane-1.2/说明.txt"
sed 's/$/\r/' packaging/readme-en.txt > "$stage/qelvane-1.2/README.txt"
rm -f dist/qelvane-1.2.zip
(cd "$stage" && TZ=UTC touch -d 2026-12-06 qelvane-1.2 qelvane-1.2/* && zip -qX -r "$QELVANE_ROOT/dist/qelvane-1.2.zip" qelvane-1.2)
echo "$QELVANE_ROOT/dist/qelvane-1.2.zip"
