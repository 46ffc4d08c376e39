#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: the battery monitor on
# this machine's battery (or on a simulated one when it has none). Without a
# display it runs for a while under Xvfb, saves a screenshot and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build -DTV_BENCHMARKS=OFF
bin=build/bin

if [ ! -x "$bin/Tolvane" ]; then
  # The monitor program is not built yet: show the logic through the scenario runner.
  "$bin/scenario" tools/scenario/examples/registry.scn
  exit 0
fi
exec bash scripts/run-monitor.sh "$bin"
