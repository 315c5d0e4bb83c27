#!/usr/bin/env bash
# Sets up, builds the command line and draws the adjusted Rand table of the
# two bundled Iris clusterings (average against complete linkage) as a heat
# map: docs/iris-adjusted-rand.png, the picture the README shows, or the
# PNG or SVG file named as the first argument. MATRICES.DAT goes to a
# scratch directory that is removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
picture=${1:-$root/docs/iris-adjusted-rand.png}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target dendrocompare-cli
mkdir -p "$(dirname "$picture")"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/app/dendrocompare-cli" --quiet --output-dir "$scratch" --plot "$picture" --measure adjusted_rand \
  "$root/examples/iris/average.den" "$root/examples/iris/complete.den" >/dev/null
echo "Picture: $picture"
