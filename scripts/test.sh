#!/usr/bin/env bash
# Sets up, builds and runs every test.
#
#   scripts/test.sh [CTEST ARGS]             build/ (or $BUILD_DIR): every test,
#                                            the fuzz targets replayed over their
#                                            corpora among them
#   scripts/test.sh --sanitize [CTEST ARGS]  build-asan/ (or $SANITIZE_BUILD_DIR),
#                                            built with AddressSanitizer and
#                                            UndefinedBehaviorSanitizer: the quick
#                                            suite, any finding fatal
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=0
if [[ ${1:-} == --sanitize ]]; then
  sanitize=1
  shift
fi
"$root/scripts/setup.sh"

if ((sanitize)); then
  build=${SANITIZE_BUILD_DIR:-$root/build-asan}
  flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null
  cmake --build "$build" -j "$(nproc)"
  cd "$build"
  # The Python and R tests load the extension into an interpreter that was
  # not started under the sanitizers' runtime, which they cannot do; they
  # run in the normal build.
  export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_stack_use_after_return=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0}
  ctest --output-on-failure -j "$(nproc)" -L quick -LE 'python|^r$' "$@"
  exit
fi

"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j "$(nproc)" "$@"
