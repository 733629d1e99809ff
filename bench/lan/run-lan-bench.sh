#!/usr/bin/env bash
# The lobby on a LAN of four machines (tools/lan-test: network namespaces on one bridge, a
# Wine session each), in figures:
#   - time from opening "Find players" to all others listed, for a player who joins three
#     others already in the lobby (one sample per round; the median is the figure);
#   - datagrams each copy sends in its first minute with the window open, the three others
#     open too (so answers and refreshes are counted);
#   - datagrams sent while the program runs with the window never opened, and after it closed
#     (the goodbye that closing sends counted on its own);
#   - datagrams a copy sends a second while another machine floods the lobby port with
#     announcements of 1,000 copies from 1,000 addresses (tools/lan-packets).
# The counts are each machine's own UDP counters, so anything the program sends is in them.
#   bash bench/lan/run-lan-bench.sh [win32|win64] [rounds]   (the build this host runs; 5 rounds)
# Needs root (network namespaces) and the build of that architecture with its Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
arch=${1:-$(tools/wine-test arch)}
rounds=${2:-5}
build="$root/build/$arch"
work="$build/lan-bench"
lan="$root/tools/lan-test"

if ! reason=$("$lan" probe); then echo "lan bench: cannot run here: $reason" >&2; exit 1; fi
cmake --build --preset "$arch" --target lanvora lan_player standin_game >/dev/null
# The machines' prefixes are copies of the build's own.
tools/wine-test "$build/wine" start "$arch" >/dev/null
tools/wine-test "$build/wine" stop >/dev/null

# shellcheck source=../../tools/session-lib.sh
. "$root/tools/session-lib.sh"
field() { sed -n "s/^$1=//p" "$2" | tr -d '\r'; }

rm -rf "$work"
mkdir -p "$work"
"$lan" "$work/lan" setup "$arch" 4 >/dev/null
trap '"$lan" "$work/lan" teardown >/dev/null' EXIT
nicks=(Ann Ben Cat Dan)
for i in 1 2 3 4; do
  mkdir -p "$work/p$i"
  cp "$build/setup/lanvora.exe" "$build/setup/help.html" "$work/p$i/"
done

# Runs player I in the background with its result in $work/p$i/$name.txt.
player() {
  local i=$1 name=$2
  shift 2
  "$lan" "$work/lan" run "$i" "$build/harness/lan_player.exe" \
    "exe=$(windows_path "$work/p$i/lanvora.exe")" "folder=$(windows_path "$work/p$i")" \
    "nick=${nicks[i - 1]}" "port=$((1700 + i))" "result=$(windows_path "$work/p$i/$name.txt")" \
    "$@" </dev/null >/dev/null 2>&1 &
}

echo "architecture: $([ "$arch" = win32 ] && echo 32-bit || echo 64-bit)"
joins=()
for round in $(seq 1 "$rounds"); do
  marks="$work/marks$round"
  barrier="$work/barrier$round"
  mkdir -p "$marks" "$barrier"
  for i in 1 2 3; do
    others=()
    for j in 1 2 3; do [ "$j" != "$i" ] && others+=("${nicks[j - 1]}"); done
    player "$i" "round$round" "expect=$(IFS=,; echo "${others[*]}")" \
      "mark=$(windows_path "$marks")" "barrier=$(windows_path "$barrier")*4"
  done
  player 4 "round$round" expect=Ann,Ben,Cat "wait-for=$(windows_path "$marks")*3" \
    "barrier=$(windows_path "$barrier")*4"
  wait
  ms=$(field listed-ms "$work/p4/round$round.txt")
  echo "round $round: the fourth player listed the three others $ms ms after opening the window"
  joins+=("$ms")
done
median=$(printf '%s\n' "${joins[@]}" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}')
echo "time from opening the window to all others listed: median $median ms over $rounds rounds (goal: at most 1500 ms)"

# One minute open with all four in the lobby, then one minute closed.
barrier="$work/barrier-minute"
mkdir -p "$barrier"
for i in 1 2 3 4; do
  others=()
  for j in 1 2 3 4; do [ "$j" != "$i" ] && others+=("${nicks[j - 1]}"); done
  player "$i" minute "expect=$(IFS=,; echo "${others[*]}")" idle-ms=30000 open-ms=60000 \
    closed-ms=60000 "barrier=$(windows_path "$barrier")"
done
wait
for i in 1 2 3 4; do
  r="$work/p$i/minute.txt"
  echo "player $i: datagrams sent: $(field sent-before-open "$r") in 30 s before the window opened," \
    "$(field sent-open "$r") in its first minute open (goal: at most 30)," \
    "$(field sent-closing "$r") when it closed (the goodbye)," \
    "$(field sent-closed "$r") in the minute after (must be 0)"
done

# A flood of announcements from 1,000 addresses at the first machine; the fourth floods.
flood="$work/marks-flood"
mkdir -p "$flood"
player 1 flood "expect=" "mark=$(windows_path "$flood")" open-ms=35000
for _ in $(seq 1 600); do [ -e "$flood/Ann.listed" ] && break; sleep 0.1; done
sleep 2
sent_udp() { "$lan" "$work/lan" exec 1 awk '/^Udp:/ { if (n++) print $5 }' /proc/net/snmp; }
before=$(sent_udp)
"$lan" "$work/lan" exec 4 "$root/tools/lan-packets" senders eth0 1000 2000 20
after=$(sent_udp)
wait
echo "under a flood of announcements from 1000 addresses, a copy sent $(( (after - before) / 20 )) datagrams a second ($((after - before)) in 20 s; goal: at most 10)"
