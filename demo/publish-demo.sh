#!/usr/bin/env bash
# Makes the DEMO game folder and publishes it as the server tree of one update address, signed
# with the first demo key (documents and news), ready for the demo update servers.
# usage: demo/publish-demo.sh [TREE]   (default demo/run/tree)
# VEXMOR_DEMO_GAME_VERSION (default 1) sets the published game version.
set -euo pipefail
demo=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$demo")
tree=${1:-$demo/run/tree}
game=$demo/run/game
publish=$repo/build/demo/vexmor-publish

if [ ! -x "$publish" ]; then
  cmake --preset demo -S "$repo" >/dev/null
  cmake --build "$repo/build/demo" --target vexmor-publish
fi
bash "$demo/make-demo-game.sh" "$game"
mkdir -p "$(dirname "$tree")"
"$publish" build --root "$game" --out "$tree" --game-version "${VEXMOR_DEMO_GAME_VERSION:-1}" \
  --key "$demo/keys/demo-signing-1.pem" --news "$demo/news.txt" \
  --website https://vexmor.example --forum https://forum.vexmor.example
