#!/usr/bin/env bash
# Black-box scenarios of the lobby on a LAN (tools/lan-test: each player a machine of its own,
# a network namespace with one address and its own Wine session):
#   play     three players, each with its own nick and port, open "Find players", see the
#            other two by nick, press "Add all", then "Save && Play": each one's net.txt must
#            allow exactly the other two, at their ports, with its own address on the
#            interface line, and the game must have started once.
#   twonets  the same, the third player's computer on a second network too with the Interface
#            field on it: the others must list it, and Add all write it, at its address on the
#            network they share (its window offers that one, and the player takes it).
#   blocked  two players; on the second machine another program holds the lobby port (as a
#            firewall that blocks it would), so it hears the first only through answers. Both
#            must list each other at once and still after 15 s, past the time a copy is
#            forgotten, and the second's window must say why it cannot listen.
#   lost     as blocked, and the first answer to the second player is dropped on the way:
#            both must list each other within 10 s all the same; then the first closes its
#            window and opens it again within a second, and both list each other again within
#            10 s, the second without the copy that closed.
#   flood    a third machine sends at least 5,000 junk datagrams a second to the first
#            player's lobby port for 15 s; meanwhile the second player vanishes without a
#            goodbye: the first must forget it within 12 s, and a click in its players window
#            must take effect within 0.5 s.
#   ghost    announcements from 0.0.0.0 and from port 0 (raw frames, which no socket sends)
#            must make no row; one from an ordinary address, sent the same way, must, with its
#            set-up unknown (it is of the packet's first version).
#   lan-scenario.sh CASE ARCH LANVORA_EXE HELP_HTML STANDIN_EXE LAN_PLAYER_EXE WORK_DIR
# Exits 77 (skipped) with a printed reason where namespaces cannot be made.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
case_name=$1 arch=$2 lanvora=$3 help=$4 standin=$5 player=$6 work=$7
packets="$root/tools/lan-packets"
# shellcheck source=lan-lib.sh
. "$root/tests/e2e/lan-lib.sh"

nicks=(Ann Ben Cat)
ports=(1700 23513 27100)
case $case_name in
play | twonets | flood) count=3 ;;
blocked | lost | ghost) count=2 ;;
*) echo "lan-scenario: unknown case $case_name" >&2; exit 2 ;;
esac
lan_up
mkdir -p "$work/barrier" "$work/marks"
marks=$(windows_path "$work/marks")
barrier=$(windows_path "$work/barrier")

# Another program on the second machine holds the lobby port without sharing it.
hold_lobby_port() {
  setsid "$lan" "$work/lan" exec 2 python3 -c 'import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("0.0.0.0", 31635))
time.sleep(600)' </dev/null >/dev/null 2>&1 &
  background+=($!)
  sleep 0.5
}

# The arguments of player I beyond its own ones, by case.
declare -A extra
expect_of() {  # I [@ADDRESS for the others]: the others' nicks, with their addresses if asked
  local i=$1 with=${2:-} others=() j
  for j in $(seq 1 "$count"); do
    [ "$j" = "$i" ] && continue
    [ "$case_name" = flood ] && [ "$j" = 3 ] && continue  # the third machine only floods
    others+=("${nicks[j - 1]}${with:+@$(address "$j")}")
  done
  (IFS=,; echo "${others[*]}")
}
case $case_name in
play) for i in 1 2 3; do extra[$i]="play=1 barrier=$barrier"; done ;;
twonets)
  "$lan" "$work/lan" link 3
  for i in 1 2 3; do extra[$i]="play=1 barrier=$barrier expect=$(expect_of "$i" @)"; done
  extra[3]+=" interface=10.78.0.13"
  ;;
blocked)
  hold_lobby_port
  for i in 1 2; do extra[$i]="open-ms=15000 barrier=$barrier"; done
  ;;
lost)
  hold_lobby_port
  # The first datagram from the first machine to the second that is not for the lobby port
  # (the first answer) is dropped.
  "$lan" "$work/lan" exec 1 iptables -A OUTPUT -p udp -d "$(address 2)" ! --dport 31635 \
    -m statistic --mode nth --every 1000000 --packet 0 -j DROP
  extra[1]="wait-for=$marks*1 mark=$marks reopen-ms=500 reopen-when=$(windows_path "$work/marks/Ben.listed") open-ms=30000"
  extra[2]="opened=$marks mark=$marks open-ms=30000"
  ;;
flood)
  extra[1]="mark=$marks watch=$marks*Ben"
  extra[2]="mark=$marks vanish=$marks"
  ;;
ghost) for i in 1 2; do extra[$i]="mark=$marks open-ms=10000"; done ;;
esac

players=$count
[ "$case_name" = flood ] && players=2
for i in $(seq 1 "$players"); do
  # shellcheck disable=SC2086  # the extra arguments are words
  start_player "$i" "$work/player$i" "${nicks[i - 1]}" "${ports[i - 1]}" "expect=$(expect_of "$i")" ${extra[$i]:-}
done

# What happens on the network while the players look.
wait_marks() {  # NAMES...: the marks to wait for, up to 60 s
  local name
  for _ in $(seq 1 600); do
    for name in "$@"; do [ -e "$work/marks/$name" ] || { sleep 0.1; continue 2; }; done
    return 0
  done
  return 1
}
case $case_name in
flood)
  if wait_marks Ann.listed Ben.listed; then
    "$lan" "$work/lan" exec 3 "$packets" junk "$(address 1)" 31635 6000 15 >"$work/flood.log" 2>&1 &
    flooder=$!
    sleep 1
    touch "$work/marks/vanish"
    wait "$flooder" || true
    echo "flooder: $(cat "$work/flood.log")"
    rate=$(sed -n 's/.*(\([0-9]*\) a second).*/\1/p' "$work/flood.log")
    [ "${rate:-0}" -ge 5000 ] || fail "the flood reached only ${rate:-0} datagrams a second"
  else
    fail "the players did not list each other"
  fi
  ;;
ghost)
  if wait_marks Ann.listed Ben.listed; then
    "$lan" "$work/lan" exec 2 "$packets" frame eth0 0.0.0.0 5555 Ghost 5
    "$lan" "$work/lan" exec 2 "$packets" frame eth0 "$(address 2)" 0 Zero 5
    "$lan" "$work/lan" exec 2 "$packets" frame eth0 10.77.0.99 5555 Real 5
  else
    fail "the players did not list each other"
  fi
  ;;
esac

wait_players

for i in $(seq 1 "$players"); do
  folder="$work/player$i"
  result="$folder/result.txt"
  own=$(address "$i")
  echo "player $i (${nicks[i - 1]} at $own): listed the others after $(field listed-ms "$result") ms;" \
    "rows: $(field rows "$result")"
  case $case_name in
  blocked | lost)
    if [ "$i" = 2 ]; then
      [ "$(field listed-at-end "$result")" = 1 ] || fail "player 2: the others were forgotten while the window was open"
      status=$(field status "$result")
      echo "player 2: status: $status"
      [[ $status == "Cannot listen on UDP port 31635 "* ]] || fail "player 2: the window does not say that it cannot listen"
    fi
    if [ "$case_name" = lost ]; then
      listed=$(field listed-ms "$result")
      [ "$listed" != timeout ] && [ "$listed" -le 10000 ] || fail "player $i: listed the other after $listed ms (goal: 10 s)"
      if [ "$i" = 1 ]; then
        relisted=$(field relisted-ms "$result")
        echo "player 1: opened the window again and listed the other after $relisted ms"
        [ "$relisted" != timeout ] && [ "$relisted" -le 10000 ] || fail "player 1: listed the other again after $relisted ms (goal: 10 s)"
      else
        rows=$(field rows-at-end "$result")
        echo "player 2: rows at the end: $rows"
        [ "$(grep -o 'Ann|' <<<"$rows" | wc -l)" = 1 ] || fail "player 2: not exactly one row for Ann at the end"
      fi
    fi
    [ "$case_name" = blocked ] && [ "$(field listed-at-end "$result")" != 1 ] && fail "player $i: the others were forgotten while the window was open"
    continue
    ;;
  flood)
    if [ "$i" = 1 ]; then
      forgotten=$(field forgotten-ms "$result") click=$(field click-ms "$result")
      echo "player 1: under the flood, the vanished player was forgotten after $forgotten ms (goal: 12 s);" \
        "a click took effect after $click ms (goal: 0.5 s)"
      [ "$forgotten" != timeout ] && [ "$forgotten" -le 12000 ] || fail "player 1: forgotten after $forgotten ms"
      [ "$click" != timeout ] && [ "$click" -le 500 ] || fail "player 1: a click took $click ms"
    fi
    continue
    ;;
  ghost)
    rows=$(field rows-at-end "$result")
    if [ "$i" = 1 ]; then
      echo "player 1: rows at the end: $rows"
      [[ $rows == *"Real|10.77.0.99|"* ]] || fail "player 1: the announcement from an ordinary address made no row: the frames did not arrive"
      # It came in the lobby packet's first version, which tells no set-up.
      [[ $rows == *"Real|10.77.0.99|1635|Allow IP's|Set-up unknown;"* ]] || fail "player 1: a copy of the first version is not listed with its set-up unknown"
      [[ $rows != *Ghost* ]] || fail "player 1: an announcement from 0.0.0.0 made a row"
      [[ $rows != *Zero* ]] || fail "player 1: an announcement from port 0 made a row"
    fi
    continue
    ;;
  esac
  # play and twonets: the group check passed before anyone started, then what the game was given.
  group=$(field group-before-play "$result")
  [[ $group != timeout* ]] || fail "player $i: the group check never passed: ${group#timeout: }"
  allows=()
  for j in $(seq 1 "$count"); do
    [ "$j" != "$i" ] && allows+=("allow $(address "$j"):${ports[j - 1]}")
  done
  script="$folder/net.txt"
  if [ ! -f "$script" ]; then
    fail "player $i: no net.txt"; continue
  fi
  if [ "$(head -n 2 "$script" | tr -d '\r')" != "interface $own:${ports[i - 1]}"$'\n'"mode peer" ]; then
    fail "player $i: net.txt begins with: $(head -n 2 "$script" | tr '\r\n' '  ')"
  fi
  # The entries come in the order the others were heard: compared as a set.
  entries=$(sed -n '3,$p' "$script" | tr -d '\r' | grep -v '^$' | sort)
  wanted=$(printf '%s\n' "${allows[@]}" | sort)
  if [ "$entries" != "$wanted" ]; then
    fail "player $i: net.txt allows: $(echo "$entries" | tr '\n' ';') instead of $(echo "$wanted" | tr '\n' ';')"
  fi
  if [ "$(tail -c 4 "$script" | od -An -tx1 | tr -d ' \n')" != "0d0a0d0a" ] ||
     [ "$(wc -l <"$script")" -ne $((count + 2)) ]; then
    fail "player $i: net.txt is not the two lines, the entries and one empty line"
  fi
  [ -z "$(field warning "$result")" ] || fail "player $i: a warning asked first: $(field warning "$result")"
  [ "$(field started "$result")" = 1 ] || fail "player $i: the game was started $(field started "$result") times"
done
if [ "$case_name" = lost ]; then
  dropped=$("$lan" "$work/lan" exec 1 iptables -L OUTPUT -v -x | awk '/DROP/ {print $1}')
  echo "answers dropped on the way: ${dropped:-0}"
  [ "${dropped:-0}" -ge 1 ] || fail "no answer was dropped: the scenario did not lose one"
fi
[ "$failed" -eq 0 ] && echo "LAN scenario $case_name: passed"
exit "$failed"
