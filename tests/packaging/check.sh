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
contents=$(dpkg-deb -c "$deb")
for path in usr/bin/quorvela usr/share/applications/invalid.quorvela.quorvela.desktop \
            usr/share/metainfo/invalid.quorvela.quorvela.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/quorvela.svg \
            usr/share/icons/hicolor/32x32/apps/quorvela.png usr/share/icons/hicolor/128x128/apps/quorvela.png \
            usr/libexec/quorvela/quorvela-record usr/libexec/quorvela/quorvela-record-setup \
            usr/lib/tmpfiles.d/quorvela.conf; do
  grep -q "\./$path\$" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends"
# Qt SVG draws every picture through a plugin: no link names it.
grep -q 'libqt6svg6' <<<"$depends"
# lintian says it runs as root; that line is no finding.
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1
echo "1 passed, 0 failed"
