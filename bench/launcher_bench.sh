#!/usr/bin/env bash
# The launcher window on a private Xvfb display with no update server answering, so its run ends
# at once with "no server" and the window idles: time from the start to the window shown with its
# first paint (the window is painted right after it is mapped), then the CPU time it uses while idle.
#   bench/launcher_bench.sh [launcher executable, default build/demo/vexmor-launcher] [idle seconds, default 10]
set -euo pipefail
launcher=$(readlink -f "${1:-build/demo/vexmor-launcher}")
seconds=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$launcher" "$work/vexmor-launcher"

export work seconds
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" bash -c '
  set -euo pipefail
  start=$(date +%s%N)
  "$work/vexmor-launcher" -multiwindow & pid=$!
  until xdotool search --onlyvisible --name "^VEXMOR LAUNCHER$" >/dev/null 2>&1; do sleep 0.005; done
  shown=$(date +%s%N)
  echo "start to first paint: $(( (shown - start) / 1000000 )) ms"
  sleep 2  # the run ends with no server
  ticks=$(getconf CLK_TCK)
  cpu() { awk "{ print \$14 + \$15 }" "/proc/$pid/stat"; }
  before=$(cpu); sleep "$seconds"; after=$(cpu)
  awk -v used="$((after - before))" -v ticks="$ticks" -v s="$seconds" \
    "BEGIN { printf \"idle CPU: %.2f %% of one core over %d s\n\", 100 * used / ticks / s, s }"
  kill "$pid"
'
