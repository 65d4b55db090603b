# shellcheck shell=bash
# Sourced by root.sh: how 32-bit x86 programs run for the chroot in $w32, and
# the binfmt_misc entry that makes them run under its qemu-i386, held only
# while a set-up or a run needs it.
#
#   binfmt_acquire   (as a run starts) decides and holds:
#     - this kernel runs 32-bit x86 programs itself: nothing is registered;
#     - an enabled entry of the machine's takes 32-bit x86 ELF files, with
#       flag F and qemu 10 or newer behind it: that one is used, untouched;
#     - otherwise the chroot's own entry (flag F, its qemu-i386-static) is
#       registered; the newest entry is the one the kernel uses, so it goes
#       before any older entry of the machine's while it exists.
#   binfmt_release   (as the run ends) removes the chroot's entry when no
#                    other run uses it, and unmounts binfmt_misc when these
#                    scripts mounted it and no run of any chroot needs it.
#   binfmt_forget    removes the chroot's entry (the chroot is deleted).
#
# The entry's name is the chroot's own (tessarel-w32-<hash of its path>):
# several clones on one machine never remove each other's. Runs count
# themselves with shared locks in $binfmt_state, so a run killed hard counts
# no more. The machine's entries are never written to; the one exception is
# "qemu-i386" with its interpreter in a project chroot, which earlier
# versions of these scripts left registered: it is removed.
#
# Needs: w32 (the chroot) and log. binfmt_dir and binfmt_state may be set
# before sourcing (W32_BINFMT_DIR, W32_BINFMT_STATE): the tests point them at
# folders of their own.

binfmt_dir=${W32_BINFMT_DIR:-/proc/sys/fs/binfmt_misc}
binfmt_state=${W32_BINFMT_STATE:-/run/tessarel-w32}
binfmt_own_prefix=tessarel-w32-
# What this process holds: the lock of all changes (while deciding), and
# its shares in the mount and in the chroot's entry (while it runs).
binfmt_changes_fd="" binfmt_mount_fd="" binfmt_entry_fd=""
# The first 20 bytes of 32-bit x86 ELF programs (executable and
# position-independent); the entry's magic and mask take both.
binfmt_i386_headers=(7f454c4601010100000000000000000002000300
  7f454c4601010100000000000000000003000300)
binfmt_i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
binfmt_i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# --- The kernel's side: the only calls that change the machine.

binfmt_write() {
  printf '%s' "$2" >"$1"
}
binfmt_mounted() {
  [[ -e $binfmt_dir/register ]]
}
binfmt_mount() {
  mount -t binfmt_misc binfmt_misc "$binfmt_dir"
}
binfmt_umount() {
  umount "$binfmt_dir"
}

# Whether this kernel runs a 32-bit x86 program itself: a static one of a
# few bytes (it writes "x", then waits) is started from outside the chroot,
# and is native only when the running process is the program itself, not
# an emulator an i386 entry (of any kind) handed it to.
binfmt_runs_natively() {
  local probe fd pid byte="" exe=""
  probe=$(mktemp "$(dirname "$w32")/.w32-probe.XXXXXX") || return 1
  # ELF header and one loadable segment at 0x08048000; the code at 0x54:
  # write(1, "x", 1); pause(); exit(0).
  printf '%b' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
    '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x7b\x00\x00\x00\x7b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\xb8\x04\x00\x00\x00\xbb\x01\x00\x00\x00\xb9\x7a\x80\x04\x08' \
    '\xba\x01\x00\x00\x00\xcd\x80' \
    '\xb8\x1d\x00\x00\x00\xcd\x80' \
    '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' \
    'x' >"$probe"
  chmod 755 "$probe"
  exec {fd}< <(exec "$probe" 2>/dev/null)
  pid=$!
  if read -r -t 10 -n 1 -u "$fd" byte; then
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || exe=""
  fi
  kill -9 "$pid" 2>/dev/null || true
  exec {fd}<&-
  wait "$pid" 2>/dev/null || true
  local path
  path=$(readlink -f "$probe")
  rm -f "$probe"
  [[ $byte == x && $exe == "$path" ]]
}

# The major version of the qemu behind an interpreter, or nothing when it
# does not say.
binfmt_qemu_major() {
  local out
  out=$(timeout 10 "$(readlink -f "$1")" --version </dev/null 2>/dev/null) || return 0
  [[ $out =~ version\ ([0-9]+)\. ]] && echo "${BASH_REMATCH[1]}"
  return 0
}

# --- Decisions over the entries.

binfmt_own_name() {
  local hash
  hash=$(printf '%s' "$(readlink -m "$w32")" | sha256sum)
  echo "$binfmt_own_prefix${hash:0:12}"
}

binfmt_field() {
  sed -n "s/^$2 *//p" "$1" 2>/dev/null
}

# Whether an entry is enabled and takes 32-bit x86 ELF programs.
binfmt_takes_i386() {
  local entry=$1 magic mask offset header i
  [[ $(head -n 1 "$entry" 2>/dev/null) == enabled ]] || return 1
  magic=$(binfmt_field "$entry" magic)
  mask=$(binfmt_field "$entry" mask)
  offset=$(binfmt_field "$entry" offset)
  offset=${offset:-0}
  [[ $magic =~ ^([0-9a-f]{2})+$ && $offset =~ ^[0-9]+$ ]] || return 1
  [[ -n $mask ]] || mask=$(printf 'f%.0s' $(seq ${#magic}))
  ((${#mask} == ${#magic})) || return 1
  # Bytes past the headers above are unknown: such an entry is not taken
  # for one that serves.
  for header in "${binfmt_i386_headers[@]}"; do
    ((2 * offset + ${#magic} <= ${#header})) || return 1
    header=${header:2 * offset}
    for ((i = 0; i < ${#magic}; i += 2)); do
      (((0x${header:i:2} ^ 0x${magic:i:2}) & 0x${mask:i:2})) && return 1
    done
  done
  return 0
}

# Prints the machine's entry to use: one exists that takes 32-bit x86 ELF
# programs, and every such one has flag F and qemu 10 or newer behind it.
# A disabled entry takes nothing; the project's entries are no machine's.
binfmt_machine_entry() {
  local entry name usable=""
  for entry in "$binfmt_dir"/*; do
    name=${entry##*/}
    [[ $name == register || $name == status || $name == "$binfmt_own_prefix"* ]] && continue
    binfmt_takes_i386 "$entry" || continue
    local flags major
    flags=$(binfmt_field "$entry" flags:)
    major=$(binfmt_qemu_major "$(binfmt_field "$entry" interpreter)")
    if [[ $flags != *F* || ${major:-0} -lt 10 ]]; then
      log "binfmt_misc: the machine's entry $name is not used (flags '$flags', qemu ${major:-of no known version}; F and qemu 10 or newer needed)"
      return 1
    fi
    usable=$name
  done
  [[ -n $usable ]] && echo "$usable"
}

# Removes "qemu-i386" when its interpreter lies in a project chroot.
binfmt_remove_legacy() {
  local entry=$binfmt_dir/qemu-i386 interpreter
  [[ -e $entry ]] || return 0
  interpreter=$(binfmt_field "$entry" interpreter)
  [[ $interpreter == */build/w32root/* ]] || return 0
  binfmt_write "$entry" -1
  log "binfmt_misc: removed qemu-i386, left by an earlier version of these scripts ($interpreter)"
}

binfmt_register_own() {
  local name=$1 interpreter=$w32/usr/bin/qemu-i386-static
  [[ -x $interpreter ]] || { echo "w32: no $interpreter in the chroot" >&2; return 1; }
  # F: the kernel opens the interpreter now, so it serves inside the chroot.
  binfmt_write "$binfmt_dir/register" \
    ":$name:M::$binfmt_i386_magic:$binfmt_i386_mask:$interpreter:F"
  log "binfmt_misc: registered $name ($interpreter) for this run"
}

# --- Holding and letting go.

binfmt_lock_changes() {
  mkdir -p "$binfmt_state"
  exec {binfmt_changes_fd}>>"$binfmt_state/changes.lock"
  flock -x "$binfmt_changes_fd"
}
binfmt_unlock_changes() {
  exec {binfmt_changes_fd}>&-
  binfmt_changes_fd=""
}

# A share in the mount of binfmt_misc, mounting it when nothing has.
binfmt_hold_mount() {
  if [[ -z $binfmt_mount_fd ]]; then
    exec {binfmt_mount_fd}>>"$binfmt_state/mount.users"
    flock -s "$binfmt_mount_fd"
  fi
  if ! binfmt_mounted; then
    binfmt_mount || return 1
    touch "$binfmt_state/mounted"
  fi
}

binfmt_acquire() {
  [[ -z $binfmt_mount_fd ]] || return 0
  binfmt_lock_changes
  local status=0 name used
  name=$(binfmt_own_name)
  {
    binfmt_hold_mount &&
      binfmt_remove_legacy &&
      exec {binfmt_entry_fd}>>"$binfmt_state/$name.users" &&
      if [[ -e $binfmt_dir/$name ]] && flock -n -x "$binfmt_entry_fd"; then
        # Left by a run that was killed: no run uses it.
        binfmt_write "$binfmt_dir/$name" -1
      fi &&
      flock -s "$binfmt_entry_fd" &&
      if [[ -e $binfmt_dir/$name ]]; then
        : # another run of this chroot registered it
      elif binfmt_runs_natively; then
        log "binfmt_misc: this kernel runs 32-bit x86 programs itself; nothing registered"
      elif used=$(binfmt_machine_entry); then
        log "binfmt_misc: using the machine's entry $used"
      else
        binfmt_register_own "$name"
      fi
  } || status=1
  binfmt_unlock_changes
  return $status
}

# Ends this process's shares: the last run of the chroot removes its entry,
# the last run of all unmounts what these scripts mounted.
binfmt_release() {
  [[ -n $binfmt_mount_fd ]] || return 0
  binfmt_lock_changes
  local name
  name=$(binfmt_own_name)
  if [[ -n $binfmt_entry_fd ]]; then
    if flock -n -x "$binfmt_entry_fd" && [[ -e $binfmt_dir/$name ]]; then
      binfmt_write "$binfmt_dir/$name" -1
      log "binfmt_misc: removed $name"
    fi
    exec {binfmt_entry_fd}>&-
    binfmt_entry_fd=""
  fi
  if flock -n -x "$binfmt_mount_fd" && [[ -e $binfmt_state/mounted ]]; then
    binfmt_umount && rm -f "$binfmt_state/mounted"
  fi
  exec {binfmt_mount_fd}>&-
  binfmt_mount_fd=""
  binfmt_unlock_changes
}

binfmt_forget() {
  binfmt_lock_changes
  local name
  name=$(binfmt_own_name)
  if binfmt_hold_mount && [[ -e $binfmt_dir/$name ]]; then
    binfmt_write "$binfmt_dir/$name" -1
    log "binfmt_misc: removed $name"
  fi
  binfmt_unlock_changes
  binfmt_release
}
