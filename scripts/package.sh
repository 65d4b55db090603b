#!/usr/bin/env bash
# Sets up, builds the shipped 32-bit build and packs its application folder
# into one zip: build/i686/Tessarel-<version>-win32.zip, whose top folder
# Tessarel-<version> a Windows user unpacks and runs Tessarel.exe from.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" i686
cmake --build "$root/build/i686" --target package
