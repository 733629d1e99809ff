#!/usr/bin/env bash
# Starting together on a LAN of four machines, in figures: four players with their lists right
# tick Ready one after another; the time from the last click to the last game started, over
# several rounds (the median is the figure; goal: at most 1 s). The rounds are the "ready" LAN
# scenario's, repeated; its round with a stale entry (no game may start) runs last.
#   bash bench/lan/run-ready-bench.sh [win32|win64] [rounds]   (the build this host runs; 5 rounds)
# Needs root (network namespaces) and the build of that architecture.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
arch=${1:-$(tools/wine-test arch)}
rounds=${2:-5}
build="$root/build/$arch"
cmake --build --preset "$arch" --target lanvora lan_player standin_game >/dev/null
# The machines' prefixes are copies of the one the build's Wine session keeps as it was made.
tools/wine-test "$build/wine" start "$arch" >/dev/null
tools/wine-test "$build/wine" stop >/dev/null
echo "architecture: $([ "$arch" = win32 ] && echo 32-bit || echo 64-bit)"
bash tests/e2e/lan-group.sh ready "$arch" "$build/setup/lanvora.exe" "$build/setup/help.html" \
  "$build/tests/e2e/standin_game.exe" "$build/harness/lan_player.exe" "$build/ready-bench" "$rounds"
