#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass their validators
# (desktop-file-validate, appstreamcli --pedantic); the Debian package itself is
# built and checked by cleaninstall.sh.
# Usage: check.sh SOURCE_DIR
source "$(dirname "$0")/../shell/lib.sh"
open_test
source_dir=$1
check "the desktop entry passes desktop-file-validate" \
  desktop-file-validate "$source_dir/data/invalid.quorvela.quorvela.desktop"
check "the AppStream metadata passes appstreamcli validate --pedantic" \
  appstreamcli validate --pedantic --no-net "$source_dir/data/invalid.quorvela.quorvela.metainfo.xml"
summary
