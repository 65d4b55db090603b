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
#
# Over the simulated volumes every run starts from the program's first
# state: the prefix's log-on entries and scheduled task of the program are
# removed first (a Run value left by "Windows 启动时运行" would otherwise start
# a second copy at Wine's start-up). A copy already running there is waited
# for, never ended. The engine paces its volume calls (simulated-pace.txt in
# the copy) so analyses and defragmentations can be watched and stopped; with
# a display it opens report pages through the shell (the desktop's browser),
# without one the script lists them when the program ends. A program that
# ends with another code than 0 is reported, and the script ends with it.
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
# shellcheck source=wine/run_start.sh
source "$root/scripts/wine/run_start.sh"
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
  export WINEPREFIX="$build/wineprefix-simulated"
  run_start_wait_for_instance
  run_start_wait_for_prefix
  run_start_clean_prefix "$WINEPREFIX"
  WINE_ENV_PREFIX="$WINEPREFIX" WINE_ENV_DRIVES="d e" wine_env_start "$build"
  copy="$WINEPREFIX/drive_c/Tessarel"
  rm -rf "$copy"
  cp -r "$folder" "$copy"
  # An analysis of C takes a few seconds, a defragmentation of C about 20.
  printf 'read %s\nmove %s\n' 100 5000 >"$copy/simulated-pace.txt"
  cd "$copy"
  program='C:\Tessarel\Tessarel.exe'
fi

if [[ -n ${USE_DISPLAY:-} ]]; then
  if [[ $mode == simulated ]]; then
    # Report pages go to the desktop's browser through Wine's, as the
    # shipped program hands them to the shell.
    touch "$copy/simulated-open-reports"
    LC_ALL=$TESSAREL_WINE_LOCALE wine reg add 'HKCR\htmlfile\shell\open\command' /ve /f \
      /d 'winebrowser.exe "%1"' >/dev/null 2>&1 || true
  fi
  status=0
  LC_ALL=$TESSAREL_WINE_LOCALE run_start_program Tessarel.exe wine "$program" "$@" || status=$?
  exit "$status"
fi

LC_ALL=$TESSAREL_WINE_LOCALE wine "$program" "$@" &
program_pid=$!
sleep "${TESSAREL_SCREENSHOT_DELAY:-8}"
import -window root "$build/screenshot.png"
echo "run: no display; screenshot saved to $build/screenshot.png"
status=0
if ! kill -0 "$program_pid" 2>/dev/null; then
  wait "$program_pid" || status=$?
  run_start_report_exit Tessarel.exe "$status"
fi
wine_env_stop
if [[ $mode == simulated ]]; then
  run_start_report_paths "$copy/opened-reports.txt"
fi
exit "$status"
