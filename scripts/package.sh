#!/usr/bin/env bash
# Sets up, builds and makes the Debian package build/dendrocompare_*.deb
# (or in $BUILD_DIR), then checks it and its menu entry and metadata with
# lintian, desktop-file-validate and appstreamcli. Install it with
#   sudo apt install ./build/dendrocompare_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/dendrocompare_*.deb | head -1)
desktop-file-validate "$root/packaging/org.dendrocompare.dendrocompare.desktop"
appstreamcli validate --no-net "$root/packaging/org.dendrocompare.dendrocompare.metainfo.xml"
lintian --fail-on error "$deb"
echo "$deb"
