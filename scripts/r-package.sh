#!/usr/bin/env bash
# Builds the R source package (R CMD build) against build/ (or $BUILD_DIR),
# whose engine libraries it builds first, and installs it into
# <build>/r/library:
#
#   scripts/r-package.sh [--check]
#
# Prints the tarball's path last. With --check, also runs
# R CMD check --no-manual on the tarball in <build>/r/check and fails
# unless it ends with no error and no warning.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${BUILD_DIR:-$root/build}" && cd "${BUILD_DIR:-$root/build}" && pwd)
if ! command -v R >/dev/null; then
  echo "r-package.sh: R is not installed; scripts/setup.sh installs it" >&2
  exit 1
fi
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
cmake --build "$build" --target dendrocompare_r_engine >/dev/null

export DENDROCOMPARE_SOURCE_DIR=$root DENDROCOMPARE_BUILD_DIR=$build
out=$build/r
mkdir -p "$out/library"
# R CMD build works on a copy so that the source tree stays clean.
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cp -r "$root/r" "$staging/dendrocompare"
(cd "$out" && R CMD build --no-build-vignettes "$staging/dendrocompare" >"$out/build.log" 2>&1) || {
  cat "$out/build.log" >&2
  exit 1
}
version=$(sed -n 's/^Version: //p' "$root/r/DESCRIPTION")
tarball=$out/dendrocompare_$version.tar.gz
R CMD INSTALL --library="$out/library" "$tarball" >"$out/install.log" 2>&1 || {
  cat "$out/install.log" >&2
  exit 1
}

if [[ ${1:-} == --check ]]; then
  rm -rf "$out/check" && mkdir -p "$out/check"
  (cd "$out/check" && _R_CHECK_FORCE_SUGGESTS_=true R CMD check --no-manual "$tarball" >"$out/check.log" 2>&1) || true
  cat "$out/check.log"
  grep -q '^Status: OK$\|^Status: [0-9]* NOTEs\?$' "$out/check.log" || {
    echo "r-package.sh: R CMD check found errors or warnings (see $out/check.log)" >&2
    exit 1
  }
fi
echo "$tarball"
