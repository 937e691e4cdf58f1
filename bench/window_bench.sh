#!/usr/bin/env bash
# Runs the window benchmarks on a private Xvfb display: the idle cost of the frame loop at
# 60 Hz and the cost of a small against a full-window paint.
#   bench/window_bench.sh [build folder, default build/bench]
set -euo pipefail
build=${1:-build/bench}
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$build/bench/bench_window_idle" 10 16
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$build/bench/bench_window_paint" \
  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
