#!/usr/bin/env bash
# Sets up, builds both targets and runs every test: the checks that need no
# Wine (export tables, release zip) of both builds here; the test build
# (x86_64) under Wine; then the shipped build (i686) under emulated 32-bit
# Wine in a chroot of its own (scripts/w32/root.sh; made on the first run),
# where the machine allows it (root, binfmt_misc), otherwise said in one line.
# Exits non-zero when the build or any test fails. Ended by Ctrl-C or TERM,
# it ends every step it started, the chroot's set-up too. Either way it
# leaves no process behind and nothing mounted or registered.
# Extra arguments go to ctest (e.g. -R toolkit_tests).
set -euo pipefail

# In braces: read whole before it runs (an edit during a run changes nothing).
{
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
w32="$root/scripts/w32/root.sh"
w32_setup_pid=""
step_pid=""

# Whether a process is still running (not ended, nor ended and not waited for).
running() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [[ ${stat%% *} != Z ]]
}

# Waits up to the tenths of a second given for a process to end.
wait_gone() {
  local waited
  for ((waited = 0; waited < $2; waited++)); do
    running "$1" || return 0
    sleep 0.1
  done
  return 1
}

# The processes of a process group but its leader.
group_members() {
  local stat pgid
  for stat in /proc/[0-9]*/stat; do
    pgid=$(cat "$stat" 2>/dev/null) || continue
    pgid=${pgid##*) }
    pgid=${pgid#* * }
    pgid=${pgid%% *}
    [[ $pgid == "$1" && ${stat//[!0-9]/} != "$1" ]] && echo "${stat//[!0-9]/}"
  done
  return 0
}

# Whether anything of a process group started below still runs.
group_runs() {
  running "$1" || [[ -n $(group_members "$1") ]]
}

# Ends a process group started below: TERM to all of it and half a minute
# for it to clean up (the Wine environment ends its processes, the chroot's
# run unmounts and lets go of binfmt_misc) and end; then KILL to what is
# left, the leader last, since it cleans up once its children are gone.
end_group() {
  local pid=$1 members waited
  [[ -n $pid ]] || return 0
  kill -TERM -- "-$pid" 2>/dev/null || return 0
  for ((waited = 0; waited < 300; waited++)); do
    group_runs "$pid" || break
    sleep 0.1
  done
  members=$(group_members "$pid")
  # shellcheck disable=SC2086  # process ids
  [[ -z $members ]] || kill -KILL $members 2>/dev/null || true
  wait_gone "$pid" 300 || true
  kill -KILL -- "-$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

interrupted() {
  trap - INT TERM EXIT
  echo "test: interrupted; ending what it started" >&2
  end_group "$step_pid"
  end_group "$w32_setup_pid"
  exit "$1"
}
trap 'interrupted 130' INT
trap 'interrupted 143' TERM

# Runs one step in a process group of its own and waits for it: an
# interruption is taken at once and ends the step with all it started.
step() {
  setsid "$@" &
  step_pid=$!
  local status=0
  wait "$step_pid" || status=$?
  step_pid=""
  return $status
}

step "$root/scripts/setup.sh"
step "$root/scripts/check_layers.sh"

# The emulated 32-bit Wine's chroot is made (on the first run only) while
# both targets build and the x86_64 tests run: its packages download and
# configure meanwhile instead of after them.
if ! why=$("$w32" check); then
  w32_unavailable="no emulated 32-bit Wine on this machine ($why)"
else
  w32_unavailable=""
  mkdir -p "$root/build"
  [[ -f $root/build/w32root/.tessarel-w32-ready ]] ||
    echo "test: making the chroot of the emulated 32-bit Wine in the background (once; a few minutes)"
  setsid "$w32" setup >"$root/build/w32root.log" 2>&1 &
  w32_setup_pid=$!
  # A failed build still lets the set-up finish: no half-made chroot.
  trap '[[ -z $w32_setup_pid ]] || wait "$w32_setup_pid" 2>/dev/null || true' EXIT
fi

step "$root/scripts/build.sh" x86_64 i686

for arch in x86_64 i686; do
  step ctest --test-dir "$root/build/$arch" --output-on-failure -L no_wine "$@"
done

status=0
step "$root/scripts/wine/run-tests.sh" "$root/build/x86_64" "$@" || status=1

if [[ -n $w32_unavailable ]]; then
  echo "test: i686 not run: $w32_unavailable."
else
  setup_status=0
  wait "$w32_setup_pid" || setup_status=$?
  w32_setup_pid=""
  if ((setup_status)); then
    echo "test: i686 not run: the emulated 32-bit Wine could not be set up (build/w32root.log)."
  else
    echo "test: i686 under 32-bit Wine in the chroot (emulated where the kernel needs it)"
    step "$w32" run scripts/wine/run-tests.sh build/i686 "$@" || status=1
  fi
fi
exit $status
}
