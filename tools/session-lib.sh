# Shell pieces shared by the scripts that run the program under Wine (sourced, never run).

# Starts Xvfb (screen size WxH) on a display it picks itself and names once it is ready: two
# runs that looked for a free number at the same moment would otherwise both take the same
# one, and one run's stop would then take the display away from the other. Sets XVFB_PID and
# exports DISPLAY; fails when Xvfb did not start. NUMBER_FILE receives the display's number.
start_xvfb() {
  local number_file=$1 size=$2 n
  rm -f "$number_file"
  setsid Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp \
    3>"$number_file" </dev/null >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 200); do
    [ -s "$number_file" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  n=$(head -n 1 "$number_file" 2>/dev/null || true)
  if [ -z "$n" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

# A Linux path as Wine shows it, under drive Z:.
windows_path() { echo "Z:${1//\//\\}"; }

# Starts the persistent wineserver of the prefix in WINEPREFIX, in the environment the caller
# gives, and returns once it listens (the server puts itself in the background when it is
# ready). A program started before that would start a server of its own, which exits 3 s
# after its last program and takes the desktop with it.
start_server() { "$@" setsid wineserver -p </dev/null >/dev/null 2>&1; }
