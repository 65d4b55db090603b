#!/usr/bin/env bash
# What the emulated 32-bit Wine's scripts do to binfmt_misc
# (scripts/w32/binfmt.sh), over a stand-in of /proc/sys/fs/binfmt_misc: a
# folder, and a stand-in kernel that writes its entries as the kernel shows
# them. Usage: w32_binfmt_tests.sh SCRIPTS_W32_DIR
set -uo pipefail

scripts=$1
failures=0
fail() {
  echo "FAILED: $*"
  ((++failures))
}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/w32 binfmt.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export W32_BINFMT_DIR="$scratch/binfmt_misc" W32_BINFMT_STATE="$scratch/state"
w32="$scratch/clone one/build/w32root"
log() { printf '%s\n' "$*" >>"$scratch/log"; }
# shellcheck source=../../scripts/w32/binfmt.sh
source "$scripts/binfmt.sh"

# A qemu stand-in that says its version (nothing: says none).
stand_in_qemu() {
  mkdir -p "$(dirname "$1")"
  printf '#!/bin/sh\n[ -n "%s" ] && echo "qemu-i386 version %s (Debian)"\n' "$2" "$2" >"$1"
  chmod 755 "$1"
}
stand_in_qemu "$w32/usr/bin/qemu-i386-static" 10.0.2

# --- The stand-in kernel.
hex() { printf '%b' "$1" | od -An -v -tx1 | tr -d ' \n'; }
binfmt_write() {
  [[ -e $binfmt_dir/register ]] || { fail "a write to $1 while binfmt_misc is not mounted"; return 1; }
  if [[ $1 == "$binfmt_dir/register" ]]; then
    local name offset magic mask interpreter flags
    IFS=: read -r _ name _ offset magic mask interpreter flags <<<"$2"
    [[ ! -e $binfmt_dir/$name ]] || { fail "$name registered twice"; return 1; }
    printf 'enabled\ninterpreter %s\nflags: %s\noffset %s\nmagic %s\nmask %s\n' \
      "$interpreter" "$flags" "${offset:-0}" "$(hex "$magic")" "$(hex "$mask")" >"$binfmt_dir/$name"
    echo "$name" >>"$scratch/registered"
  elif [[ $2 == -1 ]]; then
    rm "$1"
  else
    fail "wrote '$2' to ${1##*/}"
  fi
}
binfmt_mount() {
  [[ ! -e $binfmt_dir/register ]] || fail "mounted twice"
  touch "$binfmt_dir/register" "$binfmt_dir/status"
}
binfmt_umount() {
  rm "$binfmt_dir/register" "$binfmt_dir/status"
}
native=0
binfmt_runs_natively() { ((native)); }

# A machine's entry for 32-bit x86 ELF files: NAME STATE FLAGS QEMU_VERSION
# (its interpreter, in a folder with a blank, says that version).
machine_entry() {
  local interpreter="$scratch/machine qemu/$1"
  stand_in_qemu "$interpreter" "$4"
  printf '%s\ninterpreter %s\nflags: %s\noffset 0\nmagic %s\nmask %s\n' "$2" "$interpreter" "$3" \
    7f454c4601010100000000000000000002000300 fffffffffffefefcfffffffffffffffffeffffff \
    >"$binfmt_dir/$1"
}
# What the machine shows: every file of the folder and what it holds.
machine_state() {
  local file
  for file in "$binfmt_dir"/*; do
    [[ -e $file ]] && printf '== %s\n%s\n' "${file##*/}" "$(cat "$file")"
  done
  return 0
}
# Starts a case with binfmt_misc mounted (or not) and nothing registered.
new_case() {
  rm -rf "$binfmt_dir" "$binfmt_state" "$scratch/registered" "$scratch/log"
  mkdir -p "$binfmt_dir"
  [[ ${1:-mounted} == mounted ]] && touch "$binfmt_dir/register" "$binfmt_dir/status"
  native=0
  return 0
}
own=$(binfmt_own_name)
registered() { cat "$scratch/registered" 2>/dev/null; }

# --- The decisions. Each case: the machine before, what a run may change,
# and the machine after the run exactly as before.
# Catches an entry registered where one of the machine's serves or the
# kernel needs none, a machine's entry changed (re-enabled, removed), one of
# an old qemu (which leaves 32-bit Wine hanging), without flag F (its
# interpreter is not reachable in the chroot) or of no known version used,
# and an entry or a mount left behind.
#  name                 machine's entry: state flags qemu  native  registers
cases=(
  "NoneBefore           -        -  -                       0       own"
  "MachineQemu10        enabled  F  10.0.2                  0       -"
  "MachineQemu9         enabled  F  9.2.0                   0       own"
  "BookwormQemu         enabled  F  7.2.19                  0       own"
  "MachineQemuDisabled  disabled F  10.0.2                  0       own"
  "MachineWithoutF      enabled  OC 10.0.2                  0       own"
  "MachineOfNoVersion   enabled  F  -                       0       own"
  "Native32Bit          -        -  -                       1       -"
)
for row in "${cases[@]}"; do
  read -r name state flags version is_native registers <<<"$row"
  new_case
  if [[ $state != - ]]; then
    [[ $version == - ]] && version=""
    machine_entry qemu-i386 "$state" "$flags" "$version"
  fi
  native=$is_native
  before=$(machine_state)
  binfmt_acquire || fail "$name: acquire failed: $(cat "$scratch/log")"
  if [[ $registers == own ]]; then
    [[ $(registered) == "$own" ]] || fail "$name: registered '$(registered)', not the chroot's own entry"
    if [[ -e $binfmt_dir/$own ]]; then
      [[ $(binfmt_field "$binfmt_dir/$own" interpreter) == "$w32/usr/bin/qemu-i386-static" ]] ||
        fail "$name: the entry's interpreter is not the chroot's qemu"
      [[ $(binfmt_field "$binfmt_dir/$own" flags:) == F ]] || fail "$name: the entry has no flag F"
      [[ $(binfmt_field "$binfmt_dir/$own" magic) == 7f454c4601010100000000000000000002000300 ]] ||
        fail "$name: the entry takes other files than 32-bit x86 ELF ones"
    fi
    [[ $(machine_state | awk -v own="== $own" '/^== / { skip = $0 == own } !skip') == "$before" ]] ||
      fail "$name: the machine's entries changed: $(machine_state)"
  else
    [[ -z $(registered) ]] || fail "$name: registered $(registered)"
    [[ $(machine_state) == "$before" ]] || fail "$name: the machine's entries changed: $(machine_state)"
  fi
  binfmt_release
  [[ $(machine_state) == "$before" ]] || fail "$name: after the run the machine is not as before: $(machine_state)"
done

# Catches binfmt_misc left mounted when the run mounted it, or the entry
# left registered in it.
new_case unmounted
binfmt_acquire || fail "Unmounted: acquire failed: $(cat "$scratch/log")"
[[ -e $binfmt_dir/$own ]] || fail "Unmounted: not mounted and registered"
binfmt_release
[[ -z $(ls -A "$binfmt_dir") ]] || fail "Unmounted: left $(ls -A "$binfmt_dir")"

# Catches the entry an earlier version of these scripts registered being
# kept (every 32-bit program of the machine then stays emulated), and the
# machine's own "qemu-i386" being taken for it.
new_case
machine_entry qemu-i386 enabled F 10.0.2
sed -i "2s|.*|interpreter $scratch/clone two/build/w32root/usr/bin/qemu-i386-static|" \
  "$binfmt_dir/qemu-i386"
binfmt_acquire
[[ ! -e $binfmt_dir/qemu-i386 ]] || fail "Legacy: the earlier scripts' entry is kept"
[[ $(registered) == "$own" ]] || fail "Legacy: the chroot's own entry is not registered"
binfmt_release
[[ -z $(machine_state | grep -v '^$\|^== register$\|^== status$') ]] || fail "Legacy: left $(machine_state)"
new_case
machine_entry qemu-i386 enabled F 7.2.19
before=$(machine_state)
binfmt_acquire
binfmt_release
[[ $(machine_state) == "$before" ]] || fail "MachineQemuI386: the machine's qemu-i386 changed"

# Catches a run that removes the entry while another run of the same chroot
# still uses it, one clone removing another's, and an entry left by a run
# killed hard kept for ever.
new_case
native=1
mkdir -p "$binfmt_dir" && touch "$binfmt_dir/$own"  # left by a run killed hard
printf 'enabled\n' >"$binfmt_dir/$own"
binfmt_acquire
[[ ! -e $binfmt_dir/$own ]] || fail "Leftover: a killed run's entry is kept (the kernel runs 32-bit code)"
binfmt_release
new_case
(
  binfmt_acquire
  touch "$scratch/first holds"
  while [[ ! -e "$scratch/first ends" ]]; do sleep 0.05; done
  binfmt_release
) &
first=$!
while [[ ! -e "$scratch/first holds" ]]; do sleep 0.05; done
binfmt_acquire
[[ $(registered) == "$own" ]] || fail "TwoRuns: registered $(registered) for two runs of one chroot"
(
  # Another clone's run, in a process of its own.
  binfmt_mount_fd="" binfmt_entry_fd=""
  w32="$scratch/clone two/build/w32root"
  stand_in_qemu "$w32/usr/bin/qemu-i386-static" 10.0.2
  binfmt_acquire
  binfmt_release
)
[[ -e $binfmt_dir/$own ]] || fail "TwoClones: another clone's run removed this clone's entry"
[[ $(registered | wc -l) == 2 ]] || fail "TwoClones: the other clone used this one's entry"
touch "$scratch/first ends"
wait "$first"
[[ -e $binfmt_dir/$own ]] || fail "TwoRuns: removed while another run uses it"
binfmt_release
[[ -z $(machine_state | grep -v '^$\|^== register$\|^== status$') ]] ||
  fail "TwoRuns: the last run left $(machine_state)"
rm -f "$scratch/first holds" "$scratch/first ends"

# Catches "root.sh remove" leaving the entry of a run killed hard, and
# binfmt_misc mounted for it.
new_case unmounted
(binfmt_acquire)
[[ -e $binfmt_dir/$own ]] || fail "Remove: the killed run registered nothing"
binfmt_forget
[[ -z $(ls -A "$binfmt_dir") ]] || fail "Remove: left $(ls -A "$binfmt_dir")"

((failures == 0)) || { echo "$failures failed"; exit 1; }
echo "all passed"
