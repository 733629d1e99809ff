# What the LAN scenario scripts share (sourced, never run): the LAN of this scenario, its
# players, and the verdict. The caller sets root, arch, lanvora, help, standin, player, work
# and count before `lan_up`.

lan="$root/tools/lan-test"
# shellcheck source=../../tools/session-lib.sh
. "$root/tools/session-lib.sh"

field() { sed -n "s/^$1=//p" "$2" | tr -d '\r'; }
address() { "$lan" "$work/lan" address "$1"; }
failed=0
fail() { echo "$*"; failed=1; }
background=()

# Makes the LAN of `count` machines in $work/lan (skipping, exit 77, where it cannot be made)
# and removes it, and what was started in the background, when the script ends.
lan_up() {
  local reason
  if ! reason=$("$lan" probe); then
    echo "LAN scenario skipped: $reason"
    exit 77
  fi
  rm -rf "$work"
  mkdir -p "$work"
  "$lan" "$work/lan" setup "$arch" "$count"
  trap lan_down EXIT
}
lan_down() {
  local pid
  for pid in "${background[@]}"; do kill -- -"$pid" 2>/dev/null || true; done
  "$lan" "$work/lan" teardown >/dev/null
}

# Starts player I in the background in FOLDER (the program, its help page and the stand-in
# game copied there, and whatever the folder already holds), with its nick, port, result file
# and the further arguments given; its process id goes to `pids`.
pids=()
folders=()
start_player() {
  local i=$1 folder=$2 nick=$3 port=$4
  shift 4
  mkdir -p "$folder"
  cp "$lanvora" "$help" "$folder/"
  cp "$standin" "$folder/duke3d_w32.exe"
  "$lan" "$work/lan" run "$i" "$player" "exe=$(windows_path "$folder/lanvora.exe")" \
    "folder=$(windows_path "$folder")" "nick=$nick" "port=$port" \
    "result=$(windows_path "$folder/result.txt")" "$@" </dev/null >"$folder/player.log" 2>&1 &
  pids+=($!)
  folders+=("$folder")
}

# Waits for the players started; a driver that failed fails the scenario.
wait_players() {
  local k
  for k in "${!pids[@]}"; do
    wait "${pids[k]}" || fail "${folders[k]##*/}: the driver failed: $(cat "${folders[k]}/player.log")"
  done
  pids=()
  folders=()
}
