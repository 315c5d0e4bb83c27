#!/usr/bin/env bash
# The R package's test: builds the source package against this build tree,
# runs R CMD check --no-manual on the tarball (its testthat tests among
# them, against the command line and the peer packages, none of which may
# be missing) and fails on any error or warning.
#   tests/r/check.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1 build_dir=$2
if ! command -v R >/dev/null; then
  echo "R is not installed: scripts/setup.sh installs r-base-dev and the packages the tests need" >&2
  exit 1
fi
export DENDRO_CLI=$build_dir/app/dendrocompare-cli DENDRO_R_STRICT=1
BUILD_DIR=$build_dir "$source_dir/scripts/r-package.sh" --check
# A skipped test would hide a missing peer.
if grep -q "SKIP [1-9]" "$build_dir/r/check/dendrocompare.Rcheck/tests/testthat.Rout"; then
  echo "R tests were skipped" >&2
  exit 1
fi
