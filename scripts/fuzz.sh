#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan+UBSan) and runs each for a while.
#
#   scripts/fuzz.sh [SECONDS | --runs N] [TARGET...]
#
# SECONDS per target (default 60), or N inputs per target. TARGET: release, patch_list, news,
# profile, gunzip (default: all). New inputs go to build/fuzz/corpus/TARGET, the committed seeds in
# tests/fuzz/corpus/TARGET are only read; a crash, leak, hang or broken invariant leaves its input
# in build/fuzz/artifacts/TARGET and makes the script fail. Logs: build/fuzz/logs/TARGET.log.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=(-max_total_time=60)
if [[ ${1:-} == --runs ]]; then
  limit=(-runs="${2:?--runs needs a number}")
  shift 2
elif [[ ${1:-} =~ ^[0-9]+$ ]]; then
  limit=(-max_total_time="$1")
  shift
fi
targets=("$@")
((${#targets[@]})) || targets=(release patch_list news profile gunzip)

# Longest input per format: a few pages of a document; a gzip file whose expansion stays within a
# few MiB.
declare -A max_len=([release]=4096 [patch_list]=8192 [news]=4096 [profile]=2048 [gunzip]=4096)

bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
out=build/fuzz
failed=()
for target in "${targets[@]}"; do
  [[ -n ${max_len[$target]:-} ]] || { echo "unknown target: $target" >&2; exit 2; }
  mkdir -p "$out/corpus/$target" "$out/artifacts/$target" "$out/logs"
  log="$out/logs/$target.log"
  status=0
  "$out/tests/fuzz/fuzz_$target" "$out/corpus/$target" "tests/fuzz/corpus/$target" \
    -dict="tests/fuzz/dict/$target.dict" -max_len="${max_len[$target]}" -timeout=10 \
    -artifact_prefix="$out/artifacts/$target/" -print_final_stats=1 "${limit[@]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$log" | tail -n 1)
  if ((status == 0)); then
    echo "$target: ${runs:-?} runs, ${speed:-?}/s, $coverage"
  else
    echo "$target: FAILED (status $status) after ${runs:-?} runs; see $log" >&2
    grep -E 'ERROR|invariant broken|SUMMARY|Test unit written' "$log" >&2 || true
    failed+=("$target")
  fi
done
if ((${#failed[@]})); then
  echo "fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
