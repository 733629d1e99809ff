#!/usr/bin/env bash
# Builds lanvora.exe and starts it under Wine, in a folder of its own next to help.html: the
# 32-bit build where this host runs 32-bit programs, else the 64-bit one; it says which.
# With a display the program simply opens there. Without one a virtual display is started,
# a screenshot of the running program is saved into the build folder, and the program keeps
# running until you press Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/bootstrap.sh
arch=$(tools/wine-test arch)
cmake --preset "$arch"
cmake --build --preset "$arch" --target lanvora

app="$root/build/run/app"
mkdir -p "$app"
cp "build/$arch/setup/lanvora.exe" "build/$arch/setup/help.html" "$app/"
echo "Starting the ${arch#win}-bit build (build/$arch/setup/lanvora.exe)."

session="$root/build/run/wine"
had_display=${DISPLAY:-}
tools/wine-test "$session" start "$arch"
eval "$(tools/wine-test "$session" env)"

stop() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  "$root/tools/wine-test" "$session" stop >/dev/null
}
trap stop EXIT
trap 'exit 130' INT TERM

cd "$app"
"$WINELOADER" lanvora.exe </dev/null >/dev/null 2>&1 &
pid=$!

if [ -z "$had_display" ]; then
  echo "No display is set: started a virtual display ($DISPLAY)."
  # Wait for the main window to be on screen before taking the picture.
  for _ in $(seq 1 100); do
    if xdotool search --name '^Lanvora - Pelmar 2005$' >/dev/null 2>&1; then break; fi
    sleep 0.1
  done
  sleep 1
  shot="$root/build/screenshot.png"
  # The Wine desktop fills the top-left 1024 x 768 of the virtual screen.
  import -window root -crop 1024x768+0+0 +repage "$shot"
  echo "Screenshot of the running program (main and help window): $shot"
  echo "The program keeps running; press Ctrl+C to stop it."
fi
wait "$pid" || true
