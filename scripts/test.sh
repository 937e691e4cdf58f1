#!/usr/bin/env bash
# Installs what is needed, builds the demo configuration with its tests, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset demo >/dev/null
cmake --build --preset demo -j "$(nproc)"
ctest --preset demo -j "$(nproc)"
