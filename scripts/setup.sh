#!/usr/bin/env bash
# Installs the Debian packages that building and testing dendrocompare need;
# with --run only those that building and running the programs need.
# Safe to run again: it only calls apt-get when a package is missing.
set -euo pipefail

packages=(
  # building the programs, and the pictures they draw
  g++ cmake ninja-build libcli11-dev libfmt-dev qt6-base-dev qt6-svg-dev fonts-dejavu-core
)
[[ ${1:-} == --run ]] || packages+=(
  # the tests and benchmarks, the desktop program driven on a virtual display
  # (rsvg-convert renders the SVG pictures in the tests)
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth imagemagick xdotool openbox librsvg2-bin
  # the Python module and its cross-checks against scipy and sklearn
  python3-dev pybind11-dev python3-pybind11 python3-numpy python3-scipy python3-sklearn
  python3-pytest python3-matplotlib
  # the R package and its cross-checks against mclust, dendextend and ape
  r-base-dev r-cran-rcpp r-cran-testthat r-cran-mclust r-cran-dendextend r-cran-ape
  # fuzzing and sanitizer builds
  clang libclang-rt-14-dev
  # packaging
  desktop-file-utils appstream lintian dpkg-dev file help2man
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
