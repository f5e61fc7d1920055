#!/usr/bin/env bash
# Installs, builds and starts the program on the ready data file build/KVL.DTA.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec ./build/kvl
