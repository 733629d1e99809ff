#!/usr/bin/env bash
# Builds everything and runs every test level: the native launch core (sanitizers, fuzz
# corpus replay), the Win32 tests under Wine, and the black-box tests of lanvora.exe.
# Installs what it needs first (idempotent).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/bootstrap.sh

echo "== native build and tests"
cmake --preset native
cmake --build --preset native
ctest --preset native

echo "== win32 build and tests under Wine"
cmake --preset win32
cmake --build --preset win32
ctest --preset win32
