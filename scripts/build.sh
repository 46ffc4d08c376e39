#!/usr/bin/env bash
# build.sh [BUILD_DIR [CMAKE_ARGS...]]: configures and builds the whole tree. Objects
# go through ccache, so a tree built before (another build folder, a worktree) builds
# again quickly.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -G Ninja -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@" >/dev/null
ninja -C "$dir" -j"$(nproc)"
