#!/usr/bin/env bash
# Sets up, builds, and starts Tessarel.exe under Wine: on your display when
# there is one, otherwise on a virtual one, saving a screenshot to
# build/x86_64/screenshot.png.
#
#   scripts/run.sh [ARGS...]         the simulated application folder
#                                    (build/x86_64/app-simulated): the engine
#                                    works on simulated volumes C:, D:, E:
#   scripts/run.sh --real [ARGS...]  the real build (build/x86_64/app)
#
# Wine has none of the volume control codes, so the real engine finds no map
# on any drive; the simulated engine shows what the program does. It runs in
# a prefix of its own (build/x86_64/wineprefix-simulated) whose fixed drives
# are exactly C:, D: and E: (the program lists the drives Windows reports),
# from a fresh copy of the folder at C:\Tessarel, since that prefix has no Z:
# to reach the build folder through; its state files, reports and the
# volumes' summary (simulated-volumes.txt) stay in that copy until the next
# run. (The shipped build is 32-bit; Wine here runs 64-bit programs only, so
# this runs the 64-bit build of the same sources.)
set -euo pipefail

mode=simulated
if [[ ${1:-} == --real ]]; then
  mode=real
  shift
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" x86_64

build="$root/build/x86_64"
if [[ $mode == real ]]; then
  folder="$build/app"
else
  folder="$build/app-simulated"
fi
if [[ ! -f $folder/Tessarel.exe ]]; then
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

if [[ $mode == real ]]; then
  wine_env_start "$build"
  cd "$folder"
  program="$folder/Tessarel.exe"
else
  echo "run: the volumes C:, D: and E: are simulated, because Wine lacks the volume control codes" \
    "(scripts/run.sh --real starts the real build)."
  WINE_ENV_PREFIX="$build/wineprefix-simulated" WINE_ENV_DRIVES="d e" wine_env_start "$build"
  copy="$WINEPREFIX/drive_c/Tessarel"
  rm -rf "$copy"
  cp -r "$folder" "$copy"
  cd "$copy"
  program='C:\Tessarel\Tessarel.exe'
fi

if [[ -n ${USE_DISPLAY:-} ]]; then
  LC_ALL=$TESSAREL_WINE_LOCALE wine "$program" "$@"
else
  LC_ALL=$TESSAREL_WINE_LOCALE wine "$program" "$@" &
  sleep "${TESSAREL_SCREENSHOT_DELAY:-8}"
  import -window root "$build/screenshot.png"
  echo "run: no display; screenshot saved to $build/screenshot.png"
fi
