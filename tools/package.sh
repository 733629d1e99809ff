#!/usr/bin/env bash
# Builds the release packages: dist/lanvora-<version>-win32.zip (runs on every Windows) and
# dist/lanvora-<version>-win64.zip (64-bit Windows only), each with lanvora.exe, help.html and
# README.txt (the players' guide, CR LF line ends), and a sha256sum file beside each.
# The version is the one the build configured from project(... VERSION ...), read back from
# the build, so the number lives in CMakeLists.txt only. Packaging runs nothing under Wine,
# so both packages are made on any host.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mkdir -p dist

# Entries dated by the last commit, so two runs on one commit give the same archive.
stamp=$(git log -1 --format=%cd --date=format:'%Y-%m-%d %H:%M:%S' 2>/dev/null || true)

for arch in win32 win64; do
  build="build/$arch"
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" --target lanvora

  # The resource script is configured with the project's version; the program carries it.
  version=$(sed -n 's/^#define LANVORA_VERSION_TEXT "\(.*\)"$/\1/p' "$build/setup/lanvora.rc")
  if ! [[ $version =~ ^[0-9]+(\.[0-9]+)*$ ]]; then
    echo "package: no version found in $build/setup/lanvora.rc" >&2
    exit 1
  fi

  name="lanvora-$version-$arch"
  stage="$build/package/$name"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "$build/setup/lanvora.exe" "$stage/lanvora.exe"
  cp resources/help.html "$stage/help.html"
  # Players open this in Notepad: CR LF whatever line ends the checkout has.
  sed 's/\r$//; s/$/\r/' resources/README-players.txt > "$stage/README.txt"

  zip="$root/dist/$name.zip"
  rm -f "$zip" "$zip.sha256"
  (cd "$stage" && cmake -E tar cf "$zip" --format=zip ${stamp:+"--mtime=$stamp"} \
     lanvora.exe help.html README.txt)
  (cd dist && sha256sum "$name.zip" > "$name.zip.sha256")

  echo "package: dist/$name.zip ($(stat -c %s "$zip") bytes)"
  cat "dist/$name.zip.sha256"
done
