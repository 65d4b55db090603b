#!/usr/bin/env bash
# Sets up, builds both targets and runs every test: the checks that need no
# Wine (export tables, release zip) of both builds here; the test build
# (x86_64) under Wine; then the shipped build (i686) under emulated 32-bit
# Wine in a chroot of its own (scripts/w32/root.sh; made on the first run),
# where the machine allows it (root, binfmt_misc), otherwise said in one line.
# Exits non-zero when the build or any test fails; leaves no process behind
# and nothing mounted.
# Extra arguments go to ctest (e.g. -R toolkit_tests).
set -euo pipefail

# In braces: read whole before it runs (an edit during a run changes nothing).
{
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/check_layers.sh"

# The emulated 32-bit Wine's chroot is made (on the first run only) while
# both targets build and the x86_64 tests run: its packages download and
# configure meanwhile instead of after them.
w32="$root/scripts/w32/root.sh"
w32_setup_pid=""
if ! why=$("$w32" check); then
  w32_unavailable="no emulated 32-bit Wine on this machine ($why)"
else
  w32_unavailable=""
  mkdir -p "$root/build"
  [[ -f $root/build/w32root/.tessarel-w32-ready ]] ||
    echo "test: making the chroot of the emulated 32-bit Wine in the background (once; a few minutes)"
  "$w32" setup >"$root/build/w32root.log" 2>&1 &
  w32_setup_pid=$!
  # A failed build still lets the set-up finish: no half-made chroot.
  trap 'wait "$w32_setup_pid" 2>/dev/null || true' EXIT
fi

"$root/scripts/build.sh" x86_64 i686

for arch in x86_64 i686; do
  (cd "$root/build/$arch" && ctest --output-on-failure -L no_wine "$@")
done

status=0
"$root/scripts/wine/run-tests.sh" "$root/build/x86_64" "$@" || status=1

if [[ -n $w32_unavailable ]]; then
  echo "test: i686 not run: $w32_unavailable."
elif ! wait "$w32_setup_pid"; then
  echo "test: i686 not run: the emulated 32-bit Wine could not be set up (build/w32root.log)."
else
  echo "test: i686 under emulated 32-bit Wine"
  "$w32" run scripts/wine/run-tests.sh build/i686 "$@" || status=1
fi
exit $status
}
