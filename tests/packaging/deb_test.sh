#!/usr/bin/env bash
# The Debian package as a user gets it: built from this build tree, checked
# by lintian, desktop-file-validate and appstreamcli, unpacked into a
# throwaway directory, and its command line run on the bundled examples:
# MATRICES.DAT and the report must be byte for byte the build tree's.
#
#   deb_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build_dir" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/dendrocompare_*.deb)
desktop-file-validate "$source_dir/packaging/org.dendrocompare.dendrocompare.desktop"
appstreamcli validate --no-net "$source_dir/packaging/org.dendrocompare.dendrocompare.metainfo.xml" >/dev/null
lintian --fail-on error "$deb" 2>/dev/null

dpkg -x "$deb" "$work/root"
for page in dendrocompare dendrocompare-cli; do
  test -s "$work/root/usr/share/man/man1/$page.1.gz" || { echo "no manual page $page(1)"; exit 1; }
done
examples="$work/root/usr/share/dendrocompare/examples/iris"
mkdir "$work/installed" "$work/built"
"$work/root/usr/bin/dendrocompare-cli" --quiet --output-dir "$work/installed" \
  "$examples/average.den" "$examples/complete.den" >"$work/installed/report"
"$build_dir/app/dendrocompare-cli" --quiet --output-dir "$work/built" \
  "$source_dir/examples/iris/average.den" "$source_dir/examples/iris/complete.den" >"$work/built/report"
cmp "$work/installed/MATRICES.DAT" "$work/built/MATRICES.DAT"
cmp "$work/installed/report" "$work/built/report"

# The Python module lands where Debian's python3 looks.
PYTHONPATH="$work/root/usr/lib/python3/dist-packages" /usr/bin/python3 -c \
  "import dendrocompare, sys; sys.exit(0 if dendrocompare.__file__.startswith('$work') else 1)"
echo "package checked: $(basename "$deb")"
