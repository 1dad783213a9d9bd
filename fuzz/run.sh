#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan + libFuzzer) and runs each for a
# while, starting from the seeds in fuzz/corpus/<target>/; what the fuzzer finds to
# keep goes to fuzz/out/<target>/. Exits non-zero at the first finding.
#   fuzz/run.sh [SECONDS] [TARGET...]     (default 60 seconds, every target)
# With PORTPROBE_WERROR=ON in the environment (as ./test runs it) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPORTPROBE_FUZZ=ON -DPORTPROBE_TESTS=OFF -DPORTPROBE_WERROR="${PORTPROBE_WERROR:-OFF}" >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

for target in "${targets[@]}"; do
  mkdir -p "fuzz/out/$target"
  echo "== $target: ${seconds}s"
  log="fuzz/out/$target.log"
  if ! "build-fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=16384 -print_final_stats=1 \
       -artifact_prefix="fuzz/out/$target/" "fuzz/out/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "== $target: FINDING (see $log)"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$log" | tr '\n' ' '
  echo
done
