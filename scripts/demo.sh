#!/usr/bin/env bash
# The launcher's main job on one machine: installs what is needed, builds the demo configuration,
# publishes the demo game, serves it from the three demo update addresses on 127.0.0.1 and runs the
# launcher in a fresh installation folder (demo/run/install). The servers stop when the launcher
# ends. Without a display it runs on a virtual one (Xvfb) and saves screenshots of each stage under
# demo/run/screenshots. With --headless the launcher runs without a window and prints its progress.
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

# The large file is sent at 3 MB/s so that progress and speed can be watched.
build/demo/vexmor-devserver --tree "$run/tree" --slow "/new_launcher/files/Vexmor/Data/world.pak.gz=3000000" \
  >"$run/devserver.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do grep -q '^ready' "$run/devserver.log" && break; sleep 0.1; done
grep -q '^ready' "$run/devserver.log" || { cat "$run/devserver.log"; exit 1; }

echo "Demo update servers: https://127.0.0.1:18441, https://127.0.0.1:18442/vexmor-bucket, https://127.0.0.1:18443 (log: demo/run/devserver.log)"
launcher=$run/install/vexmor-launcher

if [ "$mode" = "--headless" ]; then
  "$launcher" --headless --yes && status=0 || status=$?
  echo "Installed game: demo/run/install/Vexmor (launcher exit status $status)"
  exit "$status"
elif [ -n "$mode" ]; then
  echo "usage: scripts/demo.sh [--headless]" >&2
  exit 2
fi

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  # -multiwindow: a launcher the player already runs must not swallow the demo's start.
  "$launcher" -multiwindow && status=0 || status=$?
  echo "Installed game: demo/run/install/Vexmor (launcher exit status $status)"
  exit "$status"
fi

# No display: the same on a virtual one, with screenshots of each stage.
shots=$run/screenshots
rm -rf "$shots"
mkdir -p "$shots"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >"$run/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$server" "$xvfb" 2>/dev/null; wait "$server" "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$run/openbox.log" 2>&1 &
sleep 1
shot() { import -window root "$shots/$1.png"; echo "screenshot: demo/run/screenshots/$1.png"; }
installed_version() { sed -n 's/^Version=//p' "$run/install/Launcher.ini" 2>/dev/null; }

"$launcher" -multiwindow &
app=$!
trap 'kill "$app" "$server" "$xvfb" 2>/dev/null; wait "$app" "$server" "$xvfb" 2>/dev/null || true' EXIT
window=
for _ in $(seq 100); do window=$(xdotool search --onlyvisible --name '^VEXMOR LAUNCHER$' 2>/dev/null | head -1) && [ -n "$window" ] && break; sleep 0.1; done
[ -n "$window" ] || { echo "the launcher window did not appear" >&2; exit 1; }
sleep 1
shot 1-starting
for _ in $(seq 600); do [ "$(installed_version)" = "0" ] && [ -f "$run/install/Vexmor/Data/world.pak.gz" ] && break; sleep 0.1; done
sleep 1.5
shot 2-updating
for _ in $(seq 1200); do [ -n "$(installed_version)" ] && [ "$(installed_version)" != "0" ] && break; sleep 0.1; done
sleep 1
shot 3-updated
# PLAY sits at the same place relative to the window at every size.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove "$((X + WIDTH * 868 / 1000))" "$((Y + HEIGHT * 813 / 1000))" click 1
for _ in $(seq 50); do [ -s "$run/install/Vexmor/game-started.log" ] && break; sleep 0.1; done
shot 4-play-clicked
# Closed the way a player closes it: the window manager's close request.
xdotool windowactivate --sync "$window" key alt+F4
wait "$app" && status=0 || status=$?
echo "Game started by PLAY: $(cat "$run/install/Vexmor/game-started.log" 2>/dev/null || echo no)"
echo "Installed game: demo/run/install/Vexmor (launcher exit status $status)"
exit "$status"
