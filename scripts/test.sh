#!/usr/bin/env bash
# Sets up, builds both targets, checks the shipped build and runs every test
# of the test build (the executables under Wine).
# Exits non-zero when the build or any test fails; leaves no process behind.
# Extra arguments go to ctest (e.g. -R toolkit_tests).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/check_layers.sh"
"$root/scripts/build.sh" x86_64 i686

# The shipped build's checks (its export table) need no Wine.
(cd "$root/build/i686" && ctest --output-on-failure "$@")

build="$root/build/x86_64"
# shellcheck source=wine/env.sh
source "$root/scripts/wine/env.sh"
trap wine_env_stop EXIT
unset USE_DISPLAY
wine_env_start "$build" "$build/bin/wine_keep_alive.exe"

cd "$build"
LC_ALL=$TESSAREL_WINE_LOCALE ctest --output-on-failure --parallel "$(nproc)" -LE e2e "$@"
wine_env_stop
trap - EXIT

# The end-to-end tests (label e2e) drive the program over the simulated
# volumes. They need a prefix whose drives are exactly C:, D: and E:, and
# their registry scenario deletes for real: a fresh prefix of their own each
# run, with its own Xvfb, wineserver and keep-alive, after the shared run.
if [[ -n $(ctest -N -L e2e "$@" | grep -E '^ +Test +#') ]]; then
  (
    # shellcheck source=wine/env.sh
    source "$root/scripts/wine/env.sh"
    trap wine_env_stop EXIT
    unset USE_DISPLAY
    TESSAREL_FRESH_PREFIX=1 WINE_ENV_PREFIX="$build/wineprefix-e2e" WINE_ENV_DRIVES="d e" \
      wine_env_start "$build" "$build/bin/wine_keep_alive.exe"
    LC_ALL=$TESSAREL_WINE_LOCALE ctest --output-on-failure -L e2e "$@"
  )
fi
