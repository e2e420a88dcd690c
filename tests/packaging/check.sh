#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass their validators
# (desktop-file-validate, appstreamcli --pedantic); the Debian package itself is
# built and checked by cleaninstall.sh.
# Usage: check.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
desktop-file-validate "$source_dir/data/invalid.quorvela.quorvela.desktop"
appstreamcli validate --pedantic --no-net "$source_dir/data/invalid.quorvela.quorvela.metainfo.xml"
echo "1 passed, 0 failed"
