#!/usr/bin/env bash
# The launcher's main job on one machine: installs what is needed, builds the demo configuration,
# publishes the demo game, serves it from the three demo update addresses on 127.0.0.1 and runs the
# launcher in a fresh installation folder (demo/run/install). The servers stop when the launcher
# ends. With --headless the launcher runs without a window and prints its progress.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
run=$repo/demo/run
mode=${1:-}

bash scripts/install-deps.sh
cmake --preset demo >/dev/null
cmake --build --preset demo -j "$(nproc)" --target vexmor-launcher vexmor-publish vexmor-devserver
bash demo/publish-demo.sh "$run/tree"

# A fresh installation: the launcher keeps the game next to itself.
rm -rf "$run/install"
mkdir -p "$run/install"
cp build/demo/vexmor-launcher "$run/install/"

# The large file is sent at 6 MB/s so that progress and speed can be watched.
build/demo/vexmor-devserver --tree "$run/tree" --slow "/new_launcher/files/Vexmor/Data/world.pak.gz=6000000" \
  >"$run/devserver.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do grep -q '^ready' "$run/devserver.log" && break; sleep 0.1; done
grep -q '^ready' "$run/devserver.log" || { cat "$run/devserver.log"; exit 1; }

echo "Demo update servers: https://127.0.0.1:18441, https://127.0.0.1:18442/vexmor-bucket, https://127.0.0.1:18443 (log: demo/run/devserver.log)"
if [ "$mode" = "--headless" ] || [ "$mode" = "" ]; then
  "$run/install/vexmor-launcher" --headless --yes && status=0 || status=$?
  echo "Installed game: demo/run/install/Vexmor (launcher exit status $status)"
  exit "$status"
fi
echo "usage: scripts/demo.sh [--headless]" >&2
exit 2
