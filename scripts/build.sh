#!/usr/bin/env bash
# Configures (once) and builds the two targets:
#   build/x86_64  the test build, run under Wine, with tests and benchmarks
#   build/i686    the shipped 32-bit build, with the same tests (run under
#                 emulated 32-bit Wine); its application folder and release
#                 zip hold only what ships
# Usage: scripts/build.sh [x86_64|i686]...   (default: both)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(x86_64 i686)
fi

for arch in "${targets[@]}"; do
  case "$arch" in
    x86_64|i686) ;;
    *) echo "build: unknown target '$arch' (x86_64 or i686)" >&2; exit 2 ;;
  esac
  dir="$root/build/$arch"
  # A folder configured before its tests were built (TESSAREL_BUILD_TESTS=OFF)
  # is configured again.
  if [[ ! -f "$dir/build.ninja" ]] ||
    grep -qx 'TESSAREL_BUILD_TESTS:BOOL=OFF' "$dir/CMakeCache.txt" 2>/dev/null; then
    cmake -S "$root" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" \
      -DCMAKE_BUILD_TYPE=Release \
      -DTESSAREL_BUILD_TESTS=ON >/dev/null
  fi
  echo "build: $arch"
  cmake --build "$dir"
done
