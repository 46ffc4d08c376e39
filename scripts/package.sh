#!/usr/bin/env bash
# package.sh [BUILD_DIR]: installs what is missing, builds, and makes the Debian
# package tolvane_VERSION_ARCH.deb in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
dir="${1:-build}"
bash scripts/build.sh "$dir"
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/tolvane_*.deb
