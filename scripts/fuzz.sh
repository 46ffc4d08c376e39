#!/usr/bin/env bash
# fuzz.sh [SECONDS [TARGET...]]: builds the libFuzzer targets with clang in build-fuzz/
# and runs each (default: all) for SECONDS (default 5), starting from its seed corpus in
# fuzz/corpus/. New inputs collect in build-fuzz/corpus/, anything found in
# build-fuzz/findings/; the exit code is 1 when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-5}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  for seeds in fuzz/corpus/*/; do
    targets+=("$(basename "$seeds")")
  done
fi

dir=build-fuzz
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
CXX=clang++ cmake -G Ninja -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTV_FUZZ=ON \
  -DTV_GUI=OFF -DTV_BENCHMARKS=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
ninja -C "$dir" -j"$(nproc)" "${targets[@]/#/fuzz_}" >/dev/null

export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p "$dir/findings"
failed=0
for target in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$target"
  log="$dir/findings/$target.log"
  if "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
      -max_len=16384 -print_final_stats=1 -artifact_prefix="$dir/findings/$target-" \
      "$dir/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $target: ${seconds}s, $runs runs, nothing found"
  else
    echo "fuzz $target: FOUND a fault, see $log"
    failed=1
  fi
done
exit "$failed"
