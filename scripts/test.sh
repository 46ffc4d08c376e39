#!/usr/bin/env bash
# Installs what is missing, then checks everything CI checks, in this order:
#   1. the format of every C++ file (clang-format, the repo's .clang-format);
#   2. the normal build (build/) and every test;
#   3. the configuration without Qt (build-nogui/): the logic, the store and the
#      tools build and pass their tests on their own;
#   4. the fuzz targets, built with clang (build-fuzz/), each for 5 s from its seeds;
#   5. the Debian package from the normal build (cpack over finished binaries);
#   6. the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan/).
# scripts/test.sh --sanitize runs step 6 alone; --quick runs steps 1 and 2.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

mode="${1:-all}"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1

run_suite() {  # BUILD_DIR [CMAKE_ARGS...]
  local dir="$1"
  shift
  local started=$SECONDS
  bash scripts/build.sh "$dir" "$@"
  ctest --test-dir "$dir" --output-on-failure -j2 --timeout 600
  echo "== $dir: built and tested in $((SECONDS - started)) s"
}

if [ "$mode" = --sanitize ]; then
  run_suite build-asan -DTV_SANITIZE=ON -DTV_BENCHMARKS=OFF
  exit 0
fi

started=$SECONDS
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "== format: clean"
run_suite build
if [ "$mode" = --quick ]; then
  exit 0
fi
run_suite build-nogui -DTV_GUI=OFF -DTV_BENCHMARKS=OFF
bash scripts/fuzz.sh 5
bash scripts/package.sh build
run_suite build-asan -DTV_SANITIZE=ON -DTV_BENCHMARKS=OFF
echo "== all checks passed in $((SECONDS - started)) s"
