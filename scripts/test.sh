#!/usr/bin/env bash
# Installs, builds and runs every test under CTest (offscreen, no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j2
