#!/usr/bin/env bash
# Black-box scenarios of the group check and of starting together, on a LAN of machines
# (tools/lan-test), each player's allowed list left in its ips.txt as from an earlier party:
#   group  three rounds of three players, each round another set-up: allowed lists right,
#          "Broadcast on LAN" for 3 players on one port, and one player counting 4: each
#          window's "Group check:" line must say what the rules say.
#   ready  four players with lists right all tick Ready, one after another: each game must
#          start once, the last within 1 s of the last click; then again with one stale entry
#          in one list: no game starts, and every window names the stale address.
#   lan-group.sh CASE ARCH LANVORA_EXE HELP_HTML STANDIN_EXE LAN_PLAYER_EXE WORK_DIR [ROUNDS]
# ROUNDS (ready only; 1 by default) repeats the four clicks and prints the median time from
# the last click to the last start: the benchmark. Exits 77 (skipped) with a printed reason
# where namespaces cannot be made.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
case_name=$1 arch=$2 lanvora=$3 help=$4 standin=$5 player=$6 work=$7 rounds=${8:-1}
# shellcheck source=lan-lib.sh
. "$root/tests/e2e/lan-lib.sh"

nicks=(Ann Ben Cat Dan)
ports=(1700 23513 27100 1635)
case $case_name in
group) count=3 ;;
ready) count=4 ;;
*) echo "lan-group: unknown case $case_name" >&2; exit 2 ;;
esac
lan_up

# Each player's ips.txt: the others at their ports (and any further entries given).
allowed_list() {  # I [ENTRY...]
  local i=$1 j
  shift
  for j in $(seq 1 "$count"); do
    [ "$j" != "$i" ] && printf 'allow %s:%s\r\n' "$(address "$j")" "${ports[j - 1]}"
  done
  for j in "$@"; do printf '%s\r\n' "$j"; done
}
others_of() {
  local i=$1 j others=()
  for j in $(seq 1 "$count"); do [ "$j" != "$i" ] && others+=("${nicks[j - 1]}"); done
  (IFS=,; echo "${others[*]}")
}

# One round: every player opens the window with the arguments given (ARGS_<i> arrays by
# name), the players of the round in folder ROUND.
round() {  # NAME
  local name=$1 i
  mkdir -p "$work/$name/marks" "$work/$name/barrier"
  for i in $(seq 1 "$count"); do
    local folder="$work/$name/player$i"
    mkdir -p "$folder"
    local -n args="args_$i"
    # The windows stay open until every player is done: a goodbye would change the others'.
    start_player "$i" "$folder" "${nicks[i - 1]}" "${args_port[i]:-${ports[i - 1]}}" \
      "expect=$(others_of "$i")" "mark=$(windows_path "$work/$name/marks")" \
      "barrier=$(windows_path "$work/$name/barrier")" "${args[@]}"
  done
  wait_players
}

case $case_name in
group)
  # name | the set-up of every player | each window's line (a piece of it, by player)
  for setup in lists broadcast count4; do
    for i in 1 2 3; do
      declare -a "args_$i=()"
      declare -n args="args_$i"
      mkdir -p "$work/$setup/player$i"
      case $setup in
      lists) allowed_list "$i" >"$work/$setup/player$i/ips.txt"; args=(group=1) ;;
      broadcast | count4)
        args=(group=1 mode=broadcast players=2)
        [ "$setup" = count4 ] && [ "$i" = 1 ] && args=(group=1 mode=broadcast players=3)
        args_port[i]=1635
        ;;
      esac
      unset -n args
    done
    round "$setup"
    for i in 1 2 3; do
      line=$(field group "$work/$setup/player$i/result.txt")
      echo "$setup, player $i (${nicks[i - 1]}): $line"
      case $setup:$i in
      lists:* | broadcast:*) wanted="Group check: everyone will get ready" ;;
      count4:1) wanted="Group check: You play Broadcast on LAN for 4 players; 3 are here" ;;
      count4:*) wanted="Group check: Ann plays Broadcast on LAN for 4 players; 3 are here" ;;
      esac
      [ "$line" = "$wanted" ] || fail "$setup, player $i: the line is not \"$wanted\""
    done
    unset args_port
  done
  ;;
ready)
  gaps=()
  for r in $(seq 1 "$rounds") stale; do
    for i in 1 2 3 4; do
      declare -n args="args_$i"
      # Each ticks Ready a little after the one before, once all list each other.
      args=("ready=$(windows_path "$work/$r/marks")*4" "ready-delay-ms=$((i * 300))"
            start-wait-ms=6000 group=1)
      unset -n args
      mkdir -p "$work/$r/player$i"
      if [ "$r" = stale ] && [ "$i" = 4 ]; then
        allowed_list "$i" "allow 10.77.0.99:1635" >"$work/$r/player$i/ips.txt"
      else
        allowed_list "$i" >"$work/$r/player$i/ips.txt"
      fi
    done
    round "$r"
    last_click=0 last_start=0
    for i in 1 2 3 4; do
      result="$work/$r/player$i/result.txt"
      click=$(field clicked-tick "$result") started=$(field started "$result")
      start=$(field started-tick "$result") line=$(field group "$result")
      echo "round $r, player $i (${nicks[i - 1]}): clicked at $click, game started $started times${start:+ (seen at $start)}; $line"
      [ -z "$(field warning "$result")" ] || fail "round $r, player $i: a box asked: $(field warning "$result")"
      if [ "$r" = stale ]; then
        [ "$started" = 0 ] || fail "round stale, player $i: a game started with a stale entry in a list"
        [[ $line == *10.77.0.99:1635* ]] || fail "round stale, player $i: the window does not name the stale address"
        continue
      fi
      [ "$started" = 1 ] || fail "round $r, player $i: the game started $started times"
      [ "$click" -gt "$last_click" ] && last_click=$click
      [ "$start" != none ] && [ "$start" -gt "$last_start" ] && last_start=$start
    done
    if [ "$r" != stale ]; then
      gap=$((last_start - last_click))
      gaps+=("$gap")
      echo "round $r: the last game started $gap ms after the last click (goal: at most 1000 ms)"
      [ "$gap" -le 1000 ] || fail "round $r: the last game started $gap ms after the last click"
    fi
  done
  median=$(printf '%s\n' "${gaps[@]}" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}')
  echo "from the last click to the last game started: median $median ms over $rounds rounds (goal: at most 1000 ms)"
  ;;
esac
[ "$failed" -eq 0 ] && echo "LAN scenario $case_name: passed"
exit "$failed"
