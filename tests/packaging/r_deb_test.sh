#!/usr/bin/env bash
# The R package's Debian package as a user gets it: built by
# scripts/r-deb.sh, checked by lintian, unpacked into a throwaway
# directory, and loaded from its site library by Debian's R, where it must
# compare two hclust trees as the build tree's command line does.
#
#   r_deb_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

deb=$(BUILD_DIR=$build_dir "$source_dir/scripts/r-deb.sh" "$work" | tail -1)
lintian --fail-on error "$deb" 2>/dev/null
dpkg-deb -f "$deb" Depends | grep -q 'r-api-4.0' || { echo "no dependency on R's API"; exit 1; }
dpkg -x "$deb" "$work/root"
library="$work/root/usr/lib/R/site-library"
test -f "$library/dendrocompare/DESCRIPTION" || { echo "not in /usr/lib/R/site-library"; exit 1; }

ours=$(R_LIBS="$library" Rscript -e '
  library(dendrocompare)
  stopifnot(startsWith(find.package("dendrocompare"), Sys.getenv("R_LIBS")))
  d <- dist(USArrests)
  a <- hclust(d, "average"); b <- hclust(d, "complete")
  dir <- commandArgs(TRUE)[1]
  write.csv(data.frame(a$merge, a$height), file.path(dir, "a.csv"))
  write.csv(data.frame(b$merge, b$height), file.path(dir, "b.csv"))
  result <- compare(a, b)
  cat(sprintf("%.17g\n", result$minima$value[result$minima$measure == "adjusted_rand"]))
' "$work")
theirs=$("$build_dir/app/dendrocompare-cli" -q --exact --no-matrices --json - "$work/a.csv" "$work/b.csv" |
  /usr/bin/python3 -c 'import json, sys; print(json.load(sys.stdin)["minima"]["adjusted_rand"]["value"])')
/usr/bin/python3 -c "import sys; sys.exit(0 if abs($ours - $theirs) <= 1e-12 else 1)" ||
  { echo "the installed package gives $ours, the command line $theirs"; exit 1; }
echo "package checked: $(basename "$deb")"
