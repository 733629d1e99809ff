#!/usr/bin/env bash
# Black-box scenarios of the lobby on a LAN (tools/lan-test: each player a machine of its own,
# a network namespace with one address and its own Wine session):
#   play     three players, each with its own nick and port, open "Find players", see the
#            other two by nick, press "Add all", then "Save && Play": each one's net.txt must
#            allow exactly the other two, at their ports, with its own address on the
#            interface line, and the game must have started once.
#   blocked  two players; on the second machine another program holds the lobby port (as a
#            firewall that blocks it would), so it hears the first only through answers. Both
#            must list each other at once and still after 15 s, past the time a copy is
#            forgotten, and the second's window must say why it cannot listen.
#   lan-scenario.sh CASE ARCH LANVORA_EXE HELP_HTML STANDIN_EXE LAN_PLAYER_EXE WORK_DIR
# Exits 77 (skipped) with a printed reason where namespaces cannot be made.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
case_name=$1 arch=$2 lanvora=$3 help=$4 standin=$5 player=$6 work=$7
lan="$root/tools/lan-test"

if ! reason=$("$lan" probe); then
  echo "LAN scenario skipped: $reason"
  exit 77
fi

# shellcheck source=../../tools/session-lib.sh
. "$root/tools/session-lib.sh"
field() { sed -n "s/^$1=//p" "$2" | tr -d '\r'; }

nicks=(Ann Ben Cat)
ports=(1700 23513 27100)
case $case_name in
play) count=3 extra=(play=1 "barrier=$(windows_path "$work/barrier")") ;;
blocked) count=2 extra=(open-ms=15000 "barrier=$(windows_path "$work/barrier")") ;;
*) echo "lan-scenario: unknown case $case_name" >&2; exit 2 ;;
esac

rm -rf "$work"
mkdir -p "$work/barrier"
"$lan" "$work/lan" setup "$arch" "$count"
blocker=
cleanup() {
  [ -n "$blocker" ] && kill -- -"$blocker" 2>/dev/null || true
  "$lan" "$work/lan" teardown >/dev/null
}
trap cleanup EXIT

if [ "$case_name" = blocked ]; then
  # Another program on the second machine holds the lobby port without sharing it.
  setsid "$lan" "$work/lan" exec 2 python3 -c 'import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("0.0.0.0", 31635))
time.sleep(600)' </dev/null >/dev/null 2>&1 &
  blocker=$!
  sleep 0.5
fi

pids=()
for i in $(seq 1 "$count"); do
  folder="$work/player$i"
  mkdir -p "$folder"
  cp "$lanvora" "$help" "$folder/"
  cp "$standin" "$folder/duke3d_w32.exe"
  others=()
  for j in $(seq 1 "$count"); do [ "$j" != "$i" ] && others+=("${nicks[j - 1]}"); done
  expect=$(IFS=,; echo "${others[*]}")
  "$lan" "$work/lan" run "$i" "$player" "exe=$(windows_path "$folder/lanvora.exe")" \
    "folder=$(windows_path "$folder")" "nick=${nicks[i - 1]}" "port=${ports[i - 1]}" \
    "expect=$expect" "result=$(windows_path "$folder/result.txt")" "${extra[@]}" \
    </dev/null >"$folder/player.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in $(seq 1 "$count"); do
  if ! wait "${pids[i - 1]}"; then
    echo "player $i: the driver failed: $(cat "$work/player$i/player.log")"
    failed=1
  fi
done

for i in $(seq 1 "$count"); do
  folder="$work/player$i"
  result="$folder/result.txt"
  own=$("$lan" "$work/lan" address "$i")
  echo "player $i (${nicks[i - 1]} at $own): listed the others after $(field listed-ms "$result") ms;" \
    "rows: $(field rows "$result")"
  if [ "$case_name" = blocked ]; then
    if [ "$(field listed-at-end "$result")" != 1 ]; then
      echo "player $i: the others were forgotten while the window was open"; failed=1
    fi
    status=$(field status "$result")
    echo "player $i: status: $status"
    if [ "$i" = 2 ] && [[ $status != "Cannot listen on UDP port 31635 "* ]]; then
      echo "player 2: the window does not say that it cannot listen"; failed=1
    fi
    continue
  fi
  allows=()
  for j in $(seq 1 "$count"); do
    [ "$j" != "$i" ] && allows+=("allow $("$lan" "$work/lan" address "$j"):${ports[j - 1]}")
  done
  script="$folder/net.txt"
  if [ ! -f "$script" ]; then
    echo "player $i: no net.txt"; failed=1; continue
  fi
  if [ "$(head -n 2 "$script" | tr -d '\r')" != "interface $own:${ports[i - 1]}"$'\n'"mode peer" ]; then
    echo "player $i: net.txt begins with: $(head -n 2 "$script" | tr '\r\n' '  ')"; failed=1
  fi
  # The entries come in the order the others were heard: compared as a set.
  entries=$(sed -n '3,$p' "$script" | tr -d '\r' | grep -v '^$' | sort)
  wanted=$(printf '%s\n' "${allows[@]}" | sort)
  if [ "$entries" != "$wanted" ]; then
    echo "player $i: net.txt allows: $(echo "$entries" | tr '\n' ';') instead of $(echo "$wanted" | tr '\n' ';')"
    failed=1
  fi
  if [ "$(tail -c 4 "$script" | od -An -tx1 | tr -d ' \n')" != "0d0a0d0a" ] ||
     [ "$(wc -l <"$script")" -ne $((count + 2)) ]; then
    echo "player $i: net.txt is not the two lines, the entries and one empty line"; failed=1
  fi
  if [ -n "$(field warning "$result")" ]; then
    echo "player $i: a warning asked first: $(field warning "$result")"; failed=1
  fi
  if [ "$(field started "$result")" != 1 ]; then
    echo "player $i: the game was started $(field started "$result") times"; failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "LAN scenario $case_name: passed"
exit "$failed"
