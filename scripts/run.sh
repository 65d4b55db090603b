#!/usr/bin/env bash
# Sets up, builds, and starts Tessarel.exe from the build's application
# folder under Wine: on your display when there is one, otherwise on a
# virtual one, saving a screenshot to build/x86_64/screenshot.png.
# (The shipped build is 32-bit; Wine here runs 64-bit programs only, so this
# runs the 64-bit build of the same sources.)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" x86_64

build="$root/build/x86_64"
program="$build/app/Tessarel.exe"
if [[ ! -f $program ]]; then
  echo "run: Tessarel.exe is not part of this build yet; there is nothing to start."
  exit 0
fi

# shellcheck source=wine/env.sh
source "$root/scripts/wine/env.sh"
trap wine_env_stop EXIT
if [[ -n ${DISPLAY:-} ]]; then
  USE_DISPLAY=$DISPLAY
else
  unset USE_DISPLAY
fi
wine_env_start "$build"

cd "$build/app"
if [[ -n ${USE_DISPLAY:-} ]]; then
  LC_ALL=$TESSAREL_WINE_LOCALE wine "$program" "$@"
else
  LC_ALL=$TESSAREL_WINE_LOCALE wine "$program" "$@" &
  sleep "${TESSAREL_SCREENSHOT_DELAY:-8}"
  import -window root "$build/screenshot.png"
  echo "run: no display; screenshot saved to $build/screenshot.png"
fi
