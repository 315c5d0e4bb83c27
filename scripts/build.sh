#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), for installing under
# /usr as a Debian package does (scripts/package.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DDENDROCOMPARE_TESTS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
