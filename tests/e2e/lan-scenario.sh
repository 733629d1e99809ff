#!/usr/bin/env bash
# Black-box scenario of the lobby on a LAN: three lanvora.exe, each on a machine of its own
# (tools/lan-test: a network namespace with one address and its own Wine session), each with
# its own nick and port. Each opens "Find players", sees the other two by nick, presses "Add
# all", then "Save && Play". Then each one's net.txt must allow exactly the other two, at
# their ports, with its own address on the interface line, and the game must have started.
#   lan-scenario.sh ARCH LANVORA_EXE HELP_HTML STANDIN_EXE LAN_PLAYER_EXE WORK_DIR
# Exits 77 (skipped) with a printed reason where namespaces cannot be made.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
arch=$1 lanvora=$2 help=$3 standin=$4 player=$5 work=$6
lan="$root/tools/lan-test"

if ! reason=$("$lan" probe); then
  echo "LAN scenario skipped: $reason"
  exit 77
fi

windows_path() { echo "Z:${1//\//\\}"; }

rm -rf "$work"
mkdir -p "$work/barrier"
"$lan" "$work/lan" setup "$arch" 3
trap '"$lan" "$work/lan" teardown >/dev/null' EXIT

nicks=(Ann Ben Cat)
ports=(1700 23513 27100)
pids=()
for i in 1 2 3; do
  folder="$work/player$i"
  mkdir -p "$folder"
  cp "$lanvora" "$help" "$folder/"
  cp "$standin" "$folder/duke3d_w32.exe"
  others=()
  for j in 1 2 3; do [ "$j" != "$i" ] && others+=("${nicks[j - 1]}"); done
  expect=$(IFS=,; echo "${others[*]}")
  "$lan" "$work/lan" run "$i" "$player" "exe=$(windows_path "$folder/lanvora.exe")" \
    "folder=$(windows_path "$folder")" "nick=${nicks[i - 1]}" "port=${ports[i - 1]}" \
    "expect=$expect" "result=$(windows_path "$folder/result.txt")" play=1 \
    "barrier=$(windows_path "$work/barrier")" \
    </dev/null >"$folder/player.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in 1 2 3; do
  if ! wait "${pids[i - 1]}"; then
    echo "player $i: the driver failed: $(cat "$work/player$i/player.log")"
    failed=1
  fi
done

field() { sed -n "s/^$1=//p" "$2" | tr -d '\r'; }

for i in 1 2 3; do
  folder="$work/player$i"
  result="$folder/result.txt"
  own=$("$lan" "$work/lan" address "$i")
  echo "player $i (${nicks[i - 1]} at $own): listed the others after $(field listed-ms "$result") ms;" \
    "rows: $(field rows "$result")"
  allows=()
  for j in 1 2 3; do
    [ "$j" != "$i" ] && allows+=("allow $("$lan" "$work/lan" address "$j"):${ports[j - 1]}")
  done
  script="$folder/net.txt"
  if [ ! -f "$script" ]; then
    echo "player $i: no net.txt"; failed=1; continue
  fi
  # The entries come in the order the others were heard: compared as a set.
  entries=$(sed -n '3,$p' "$script" | tr -d '\r' | grep -v '^$' | sort)
  wanted=$(printf '%s\n' "${allows[@]}" | sort)
  last=$(tail -c 4 "$script" | od -An -tx1 | tr -d ' \n')
  if [ "$(head -n 2 "$script" | tr -d '\r')" != "interface $own:${ports[i - 1]}"$'\n'"mode peer" ]; then
    echo "player $i: net.txt begins with: $(head -n 2 "$script" | tr '\r\n' '  ')"; failed=1
  fi
  if [ "$entries" != "$wanted" ]; then
    echo "player $i: net.txt allows: $(echo "$entries" | tr '\n' ';') instead of $(echo "$wanted" | tr '\n' ';')"
    failed=1
  fi
  if [ "$last" != "0d0a0d0a" ] || [ "$(wc -l <"$script")" -ne 5 ]; then
    echo "player $i: net.txt is not the two lines, two entries and one empty line"; failed=1
  fi
  if [ -n "$(field warning "$result")" ]; then
    echo "player $i: a warning asked first: $(field warning "$result")"; failed=1
  fi
  if [ "$(field started "$result")" != 1 ]; then
    echo "player $i: the game was started $(field started "$result") times"; failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "LAN scenario: every player allows exactly the others"
exit "$failed"
