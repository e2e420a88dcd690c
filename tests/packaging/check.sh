#!/usr/bin/env bash
# The desktop entry, the AppStream metadata and the Debian package pass their
# validators: desktop-file-validate, appstreamcli --pedantic, lintian.
# Usage: check.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

desktop-file-validate "$source_dir/data/invalid.quorvela.quorvela.desktop"
appstreamcli validate --pedantic --no-net "$source_dir/data/invalid.quorvela.quorvela.metainfo.xml"

cpack --config "$build_dir/CPackConfig.cmake" -B "$work" >/dev/null
deb=$(ls "$work"/quorvela_*.deb)
dpkg-deb -c "$deb" | grep -q './usr/share/icons/hicolor/128x128/apps/quorvela.png'
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6'
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1
echo "1 passed, 0 failed"
