#!/usr/bin/env bash
# Runs the tests of one build folder under Wine, as scripts/test.sh does for
# both builds: first the shared run (every test but the end-to-end ones, in
# parallel, in the build's prefix BUILD_DIR/wineprefix), then the end-to-end
# tests (label e2e) in a fresh prefix of their own. The checks that need no
# Wine (label no_wine) are left to the caller.
#
#   scripts/wine/run-tests.sh BUILD_DIR [ctest arguments]
#
# For build/i686 (32-bit programs) the prefix settings go into the 32-bit
# registry view as well. CTEST_PARALLEL_LEVEL, when set, limits the shared
# run's parallel tests (default: one per processor). Exits non-zero when a test fails; leaves no process
# behind.
set -euo pipefail

# In braces: read whole before it runs (an edit during a run changes nothing).
{
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "$1" && pwd)
shift
if [[ $(sed -n 's/^CMAKE_SIZEOF_VOID_P:INTERNAL=//p' "$build/CMakeCache.txt") == 4 ]]; then
  export WINE_ENV_WOW64=1
fi
cd "$build"
status=0

if [[ -n $(ctest -N -LE 'e2e|no_wine' "$@" | grep -E '^ +Test +#') ]]; then
  (
    # shellcheck source=env.sh
    source "$scripts/env.sh"
    trap wine_env_stop EXIT
    unset USE_DISPLAY
    wine_env_start "$build" "$build/bin/wine_keep_alive.exe"
    LC_ALL=$TESSAREL_WINE_LOCALE ctest --output-on-failure --parallel "${CTEST_PARALLEL_LEVEL:-$(nproc)}" \
      -LE 'e2e|no_wine' "$@"
  ) || status=1
  echo "run-tests: $build, shared run: $SECONDS s"
fi
start=$SECONDS

# The end-to-end tests (label e2e) drive the program over the simulated
# volumes. They need a prefix whose drives are exactly C:, D: and E:, and
# their registry scenario deletes for real: a fresh prefix of their own each
# run, with its own Xvfb, wineserver and keep-alive, after the shared run.
if [[ -n $(ctest -N -L e2e "$@" | grep -E '^ +Test +#') ]]; then
  (
    # shellcheck source=env.sh
    source "$scripts/env.sh"
    trap wine_env_stop EXIT
    unset USE_DISPLAY
    TESSAREL_FRESH_PREFIX=1 WINE_ENV_PREFIX="$build/wineprefix-e2e" WINE_ENV_DRIVES="d e" \
      wine_env_start "$build" "$build/bin/wine_keep_alive.exe"
    LC_ALL=$TESSAREL_WINE_LOCALE ctest --output-on-failure -L e2e "$@"
  ) || status=1
  echo "run-tests: $build, end-to-end tests: $((SECONDS - start)) s"
fi
exit $status
}
