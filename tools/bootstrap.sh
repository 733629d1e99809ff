#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine, as root and
# without prompts. Packages that are already installed are skipped, so running it again
# costs a second.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
  wine wine32 wine64 fonts-wine
  xvfb xauth xdotool imagemagick
  googletest libbenchmark-dev
  zip python3 iproute2 iptables
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then sudo_cmd=(sudo); else
    echo "bootstrap: run as root (or install sudo)" >&2; exit 1
  fi
fi

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  name=$p
  [ "$p" = wine32 ] && name=wine32:i386
  if ! dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all packages present"
  exit 0
fi

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ $need_update -eq 1 ] || [ ! -d /var/lib/apt/lists ] || [ -z "$(ls -A /var/lib/apt/lists 2>/dev/null | grep -v lock)" ] || true; then
  "${sudo_cmd[@]}" apt-get update -q
fi
# wine32 lives in the i386 architecture.
install=()
for p in "${missing[@]}"; do
  if [ "$p" = wine32 ]; then install+=(wine32:i386); else install+=("$p"); fi
done
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${install[@]}"
