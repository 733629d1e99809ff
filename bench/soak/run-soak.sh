#!/usr/bin/env bash
# Builds the soak program and runs it against the program in a Wine session of its own.
#   bash bench/soak/run-soak.sh [ARCH] [MINUTES] [ENTRIES NOTIFICATIONS MENUS HELPS]
# ARCH is win32 or win64, by default the one this host runs (32-bit first); the build is
# build/ARCH. MINUTES defaults to 30.
set -euo pipefail
cd "$(dirname "$0")/../.."
arch=${1:-$(tools/wine-test arch)}
minutes=${2:-30}
shift $(( $# > 2 ? 2 : $# ))

cmake --preset "$arch" >/dev/null
cmake --build --preset "$arch" --target lanvora_soak
build=$(cd "build/$arch" && pwd)
echo "Soak of the ${arch#win}-bit build ($build)"

session="$build/soak-wine"
tools/wine-test "$session" start "$arch"
sampler=
trap '[ -n "$sampler" ] && kill "$sampler" 2>/dev/null; tools/wine-test "$session" stop >/dev/null' EXIT

# Wine answers 0 for the GUI object and handle counts of another process, so the Linux side
# of the program's process is sampled too: anonymous resident memory and open descriptors.
linuxlog="$build/bench/soak/linux-side.txt"
: > "$linuxlog"
(
  start=$(date +%s)
  while sleep 30; do
    pid=$(pgrep -f 'soak.prog.lanvora\.exe' | head -n 1) || continue
    rss=$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status" 2>/dev/null) || continue
    fds=$(ls "/proc/$pid/fd" 2>/dev/null | wc -l)
    echo "$(( $(date +%s) - start )) s: RssAnon ${rss} kB, ${fds} descriptors" >> "$linuxlog"
  done
) &
sampler=$!

tools/wine-test "$session" run "$build/bench/soak/lanvora_soak.exe" "$build/setup/lanvora.exe" \
  "$build/bench/soak/soak-scratch" "$minutes" "$@"
echo "Linux side of the program (first and last samples, every 30 s):"
head -n 1 "$linuxlog"
tail -n 1 "$linuxlog"
