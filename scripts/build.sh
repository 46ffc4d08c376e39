#!/usr/bin/env bash
# build.sh [BUILD_DIR [CMAKE_ARGS...]]: configures and builds the whole tree.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
cmake -G Ninja -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
ninja -C "$dir" -j"$(nproc)"
