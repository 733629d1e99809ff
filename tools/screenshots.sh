#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots/ from the real program under Wine: the main
# window in both modes, the tray menu open over the notification area, and the help window,
# at 96 dpi and again at 144 dpi (150 % scale; names ending in -144).
# The program runs in a Wine session of its own under the build folder (Xvfb when no display
# is set) with prepared settings, so the pictures show no address of this machine.
# It uses the build this host runs: 32-bit where it can, else 64-bit (the windows are the same).
#   LANVORA_BUILD_DIR  build folder to use (default build/win32 or build/win64)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
arch=$(tools/wine-test arch)
build=${LANVORA_BUILD_DIR:-build/$arch}
out="$root/docs/screenshots"
triple=$([ "$arch" = win32 ] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32)

cmake --preset "$arch" -B "$build" >/dev/null
cmake --build "$build" -j2 --target lanvora
build=$(cd "$build" && pwd)
work="$build/screenshots"
rm -rf "$work/app" "$work/run"
mkdir -p "$work/app" "$work/run" "$out"
cp "$build/setup/lanvora.exe" "$build/setup/help.html" "$work/app/"
printf 'duke3d_w32.exe\r\nDukeFan\r\n192.168.1.20\r\n1635\r\n' > "$work/run/settings.txt"
printf 'allow 192.168.1.21:1635\r\nallow 192.168.1.22:1635\r\n' > "$work/run/ips.txt"

# A small window probe that runs beside the program in the same Wine desktop: Linux tools
# see only the desktop's one X window, not the windows inside it.
cat > "$work/probe.cpp" <<'EOF'
// probe rect CLASS TITLE        waits for a visible top-level window ("-" = any), prints x y w h
// probe click TITLE CAPTION     clicks the button with that caption in the window
// probe settext TITLE X Y TEXT  sets the text of the child whose top-left is at client X, Y
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

struct Find { const char* cls; const char* title; HWND found; };

static BOOL CALLBACK TopLevel(HWND w, LPARAM p) {
  Find* f = reinterpret_cast<Find*>(p);
  char cls[256] = {}, title[256] = {};
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, title, sizeof title);
  if (!IsWindowVisible(w)) return TRUE;
  if (strcmp(f->cls, "-") && strcmp(f->cls, cls)) return TRUE;
  if (strcmp(f->title, "-") && strcmp(f->title, title)) return TRUE;
  f->found = w;
  return FALSE;
}

static HWND WaitFor(const char* cls, const char* title) {
  for (int i = 0; i < 400; ++i) {
    Find f{cls, title, nullptr};
    EnumWindows(TopLevel, reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    Sleep(50);
  }
  fprintf(stderr, "probe: no window %s \"%s\"\n", cls, title);
  exit(1);
}

struct Child { std::string caption; int x, y; HWND found; };

static BOOL CALLBACK ChildOf(HWND w, LPARAM p) {
  Child* c = reinterpret_cast<Child*>(p);
  if (!c->caption.empty()) {
    char text[256] = {};
    SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (c->caption == text) c->found = w;
  } else {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    if (r.left == c->x && r.top == c->y && IsWindowVisible(w)) c->found = w;
  }
  return c->found == nullptr;
}

int main(int argc, char** argv) {
  if (argc >= 4 && !strcmp(argv[1], "rect")) {
    HWND w = WaitFor(argv[2], argv[3]);
    RECT r;
    GetWindowRect(w, &r);
    printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (argc >= 4 && !strcmp(argv[1], "click")) {
    Child c{argv[3], 0, 0, nullptr};
    EnumChildWindows(WaitFor("-", argv[2]), ChildOf, reinterpret_cast<LPARAM>(&c));
    if (!c.found) return 1;
    SendMessageA(c.found, BM_CLICK, 0, 0);
    return 0;
  }
  if (argc >= 6 && !strcmp(argv[1], "settext")) {
    Child c{"", atoi(argv[3]), atoi(argv[4]), nullptr};
    EnumChildWindows(WaitFor("-", argv[2]), ChildOf, reinterpret_cast<LPARAM>(&c));
    if (!c.found) return 1;
    SendMessageA(c.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[5]));
    return 0;
  }
  fprintf(stderr, "probe: bad arguments\n");
  return 2;
}
EOF
"$triple-g++-win32" -O1 -static -o "$work/probe.exe" "$work/probe.cpp"

session="$work/wine"
user_display=${DISPLAY:-}
stop() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  tools/wine-test "$session" stop >/dev/null
}
trap stop EXIT

probe() { "$WINELOADER" "$work/probe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
main='Lanvora - Pelmar 2005'

# Shoots the Wine desktop and keeps the rectangle "x y w h" (desktop coordinates), small.
shoot() {
  local name=$1 x y w h
  read -r x y w h <<<"$2"
  import -window "${desktop:-root}" "$work/full.png"
  convert "$work/full.png" -crop "${w}x${h}+${x}+${y}" +repage -strip \
    -define png:compression-level=9 "$out/$name.png"
  echo "screenshots: $out/$name.png ($(stat -c %s "$out/$name.png") bytes)"
}

# One pass over the program in a session whose display, desktop and taskbar included, is at a
# dpi: each picture's name ends in suffix.
shots_at() {
  local dpi=$1 suffix=$2
  # Each session brings its own Xvfb unless the user has a display.
  if [ -n "$user_display" ]; then export DISPLAY=$user_display; else unset DISPLAY; fi
  local options=()
  if [ "$dpi" != 96 ]; then options=(--dpi "$dpi"); fi
  tools/wine-test "$session" start "$arch" "${options[@]}"
  eval "$(tools/wine-test "$session" env)"
  desktop=$(xdotool search --limit 1 --name '^Default - Wine desktop$' 2>/dev/null || true)
  scaled() { echo $((($1 * dpi + 48) / 96)); }

  (cd "$work/run" && exec "$WINELOADER" "$work/app/lanvora.exe" </dev/null >/dev/null 2>&1) &
  pid=$!
  probe rect - HELP >/dev/null
  [ -n "$desktop" ] || desktop=$(xdotool search --limit 1 --name '^Default - Wine desktop$')
  local rect
  rect=$(probe rect - "$main")
  sleep 1  # let the last paint of the window land before the picture

  shoot "main-allow-ips$suffix" "$rect"

  probe click "$main" "Broadcast on LAN"
  probe settext "$main" "$(scaled 24)" "$(scaled 205)" 3
  sleep 0.5
  shoot "main-broadcast$suffix" "$rect"
  probe click "$main" "Allow IP's"

  # The tray menu: a right click on the program's icon at the right end of the taskbar.
  local bx by bw bh mx my mw mh ix iy x0 y0 help
  read -r bx by bw bh <<<"$(probe rect Shell_TrayWnd -)"
  ix=$((bx + bw - 12)) iy=$((by + bh / 2))
  xdotool mousemove --window "$desktop" "$ix" "$iy" click 3
  read -r mx my mw mh <<<"$(probe rect '#32768' -)"
  sleep 0.5
  # The menu and the corner of the taskbar with the icon, in one picture.
  x0=$((mx < bx + bw - 200 ? mx : bx + bw - 200)) y0=$((my - 16))
  shoot "tray-menu$suffix" "$x0 $y0 $((bx + bw - x0)) $((by + bh - y0))"
  xdotool key Escape

  probe click "$main" "Help"
  help=$(probe rect - HELP)
  sleep 1
  shoot "help-window$suffix" "$help"

  probe click "$main" "&Exit"
  wait "$pid" || true
  pid=
  tools/wine-test "$session" stop >/dev/null
}

shots_at 96 ""
shots_at 144 -144

# The players window, on a LAN of three machines made on this host (tools/lan-test; needs
# root): the two others keep their players windows open while the first one's is shot, so it
# shows them and no address of this machine. Skipped, with the reason, where no LAN can be made.
if ! reason=$(tools/lan-test probe); then
  echo "screenshots: players window skipped: $reason"
  exit 0
fi
cmake --build "$build" -j2 --target lan_player >/dev/null
if [ -n "$user_display" ]; then export DISPLAY=$user_display; else unset DISPLAY; fi
lan="$work/lan"
tools/lan-test "$lan" setup "$arch" 3 >/dev/null
trap 'stop; tools/lan-test "$lan" teardown >/dev/null' EXIT
DISPLAY=$(sed -n 's/^DISPLAY=//p' "$lan/lan.env")
export DISPLAY
# shellcheck source=session-lib.sh
. "$root/tools/session-lib.sh"
for i in 2 3; do
  rm -rf "$work/lan-p$i"
  mkdir -p "$work/lan-p$i"
  cp "$work/app/lanvora.exe" "$work/lan-p$i/"
  nick=$([ "$i" = 2 ] && echo FragQueen || echo Nukem)
  mode=$([ "$i" = 2 ] && echo allow || echo broadcast)
  tools/lan-test "$lan" run "$i" "$build/harness/lan_player.exe" \
    "exe=$(windows_path "$work/lan-p$i/lanvora.exe")" "folder=$(windows_path "$work/lan-p$i")" \
    "nick=$nick" "port=$((1699 + i))" expect=DukeFan "mode=$mode" open-ms=20000 \
    "result=$(windows_path "$work/lan-p$i/result.txt")" </dev/null >/dev/null 2>&1 &
done
sleep 3
rm -rf "$work/lan-p1"
mkdir -p "$work/lan-p1"
printf 'duke3d_w32.exe\r\nDukeFan\r\n10.77.0.11\r\n1635\r\n' > "$work/lan-p1/settings.txt"
(cd "$work/lan-p1" && exec "$root/tools/lan-test" "$lan" run 1 "$work/app/lanvora.exe" \
  </dev/null >/dev/null 2>&1) &
lanprobe() { tools/lan-test "$lan" run 1 "$work/probe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
lanprobe rect - "$main" >/dev/null
# The newest Wine desktop is the first machine's, in front of the others'.
desktop=$(xdotool search --name '^Default - Wine desktop$' | tail -n 1)
lanprobe click "$main" "&Find players"
players=$(lanprobe rect - "Players on this network")
sleep 4  # the others are heard within a second; the list and its advice settle
shoot players-window "$players"
