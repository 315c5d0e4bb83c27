#!/usr/bin/env bash
# Builds the R package's Debian package, r-other-dendrocompare, which
# installs dendrocompare where Debian's R finds site packages
# (/usr/lib/R/site-library), from build/ (or $BUILD_DIR):
#
#   scripts/r-deb.sh [OUT_DIR, default the build directory]
#
# Prints the .deb's path last. Install it beside the main package with
#   sudo apt install ./build/r-other-dendrocompare_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${BUILD_DIR:-$root/build}" && cd "${BUILD_DIR:-$root/build}" && pwd)
out=${1:-$build}
tarball=$(BUILD_DIR=$build "$root/scripts/r-package.sh" | tail -1)
# The package links the engine libraries of this build tree, as r-package.sh has it.
export DENDROCOMPARE_SOURCE_DIR=$root DENDROCOMPARE_BUILD_DIR=$build
version=$(sed -n 's/^Version: //p' "$root/r/DESCRIPTION")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
staging=$work/r-other-dendrocompare
mkdir -p "$staging/usr/lib/R/site-library" "$staging/DEBIAN" "$staging/usr/share/doc/r-other-dendrocompare"
R CMD INSTALL --no-test-load --library="$staging/usr/lib/R/site-library" "$tarball" >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  exit 1
}
strip --strip-unneeded "$staging"/usr/lib/R/site-library/dendrocompare/libs/*.so
cp "$root/packaging/copyright" "$staging/usr/share/doc/r-other-dendrocompare/copyright"
gzip -9nc "$root/packaging/changelog" >"$staging/usr/share/doc/r-other-dendrocompare/changelog.gz"

# The shared object's libraries as Debian names them, from dpkg-shlibdeps,
# which wants a debian/control to read.
mkdir -p "$work/shlibs/debian"
printf 'Source: r-other-dendrocompare\n\nPackage: r-other-dendrocompare\nArchitecture: any\n' \
  >"$work/shlibs/debian/control"
libraries=$(cd "$work/shlibs" && dpkg-shlibdeps -O "$staging"/usr/lib/R/site-library/dendrocompare/libs/*.so \
  2>/dev/null | sed -n 's/^shlibs:Depends=//p')
architecture=$(dpkg --print-architecture)
size=$(du -sk "$staging/usr" | cut -f1)
cat >"$staging/DEBIAN/control" <<CONTROL
Package: r-other-dendrocompare
Version: $version
Architecture: $architecture
Maintainer: The dendrocompare developers <maintainers@dendrocompare.invalid>
Installed-Size: $size
Depends: r-base-core (>= 4.2), r-api-4.0, r-cran-rcpp${libraries:+, $libraries}
Section: gnu-r
Priority: optional
Homepage: https://dendrocompare.invalid/
Description: GNU R package to compare two hierarchical clusterings level by level
 dendrocompare cuts two dendrograms of the same objects (hclust,
 dendrogram and phylo objects, scipy linkage matrices or files) at every
 distinct merge height and compares every level of the first with every
 level of the second, in double precision from exact pair counts.
CONTROL
deb=$out/r-other-dendrocompare_${version}_$architecture.deb
dpkg-deb --root-owner-group --build "$staging" "$deb" >/dev/null
echo "$deb"
