#!/usr/bin/env bash
# Emulated 32-bit Wine for the shipped i686 build's tests.
#
# Some x86_64 kernels run no 32-bit x86 code (a 32-bit ELF fails with "Exec
# format error"), so neither Debian's wine32 nor Wine's WoW64 mode runs there
# as it is. This keeps a Debian bookworm chroot, build/w32root, made once and
# reused, in which 32-bit ELF files run under qemu-i386 (user-mode emulation):
#   - debootstrap --variant=minbase bookworm, i386 multiarch, the mirrors of
#     this machine's own apt sources;
#   - qemu-user-static from bookworm-backports (bookworm's own 7.2 leaves
#     32-bit Wine hanging), registered through binfmt_misc for 32-bit x86 ELF
#     files with flag F (the kernel opens the interpreter when it is
#     registered, so it also serves inside the chroot) only while a set-up or
#     a run needs it, and only where the kernel does not run 32-bit x86 code
#     itself and no usable entry of the machine's does it (binfmt.sh). That
#     entry, and binfmt_misc mounted for it when nothing had, are the only
#     changes outside the chroot, and last no longer than the runs;
#   - Debian's wine32:i386 (the 32-bit loader and DLLs, emulated) beside
#     wine64 (64-bit prefixes and the wineserver, native), Xvfb, the zh_CN.UTF-8
#     locale, fonts, and cmake for ctest.
#
# Inside a run the chroot sees the project read-only and build/i686 writable,
# both at their own absolute paths (the test executables name their build
# folder by its Z: path). Nothing of the host's /dev is bound: /dev is a tmpfs
# of its own with the few nodes Wine needs, /dev/pts a devpts instance of its
# own, /proc a proc mount and /sys a read-only sysfs. So a folder removed while
# still mounted (a run killed hard) cannot reach a host device node or the
# sources; the commands below still refuse to remove a mounted chroot.
#
# Usage (as root):
#   scripts/w32/root.sh check        can this machine run it? (one line; status 1: no)
#   scripts/w32/root.sh setup        make the chroot (once; a few minutes); one whose
#                                    set-up was cut short is repaired or made again
#   scripts/w32/root.sh run CMD...   mount, run CMD inside (as root, in the project
#                                    folder), unmount; the status is CMD's
#   scripts/w32/root.sh shell        a shell inside
#   scripts/w32/root.sh versions     the packages' versions
#   scripts/w32/root.sh remove       delete the chroot (refused while anything is mounted in it)
#                                    and its binfmt_misc entry
# Runs at once share the chroot; the last one to end ends any process left
# inside, unmounts and removes the entry. TERM or Ctrl-C does the same.
# Environment: W32ROOT (the chroot; default build/w32root), MIRROR and
# SECURITY_MIRROR (default: this machine's apt sources).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
w32=${W32ROOT:-$root/build/w32root}
w32_ready=$w32/.tessarel-w32-ready
# debootstrap finished (the packages' set-up may still be cut short).
w32_base=$w32/.tessarel-w32-base
# The packages of the chroot; qemu-user-static comes from bookworm-backports.
w32_packages=(
  wine wine32:i386 wine64 libwine:i386 fonts-wine fonts-wqy-microhei
  xvfb xauth xdotool imagemagick procps locales bc cmake
)

log() { printf 'w32: %s\n' "$*"; }

# shellcheck source=binfmt.sh
source "$root/scripts/w32/binfmt.sh"

# Runs at once share the mounts (a shared lock each); set-up and removal
# take the lock alone, and the last run to end unmounts.
lock_shared() {
  exec {lock_fd}>>"$w32.lock"
  flock -s "$lock_fd"
}
lock_alone() {
  exec {lock_fd}>>"$w32.lock"
  flock "$@" -x "$lock_fd"
}
# Ends this run's share: when no other run holds one, ends what is left
# inside and unmounts; then lets go of binfmt_misc.
unlock_and_unmount() {
  trap - EXIT INT TERM
  if flock -n -x "$lock_fd" || { flock -u "$lock_fd" && flock -n -x "$lock_fd"; }; then
    end_processes_inside
    umount_root
  fi
  flock -u "$lock_fd"
  binfmt_release
}

# Closes the locks' descriptors, so that nothing started inside holds them.
close_locks() {
  local fd
  for fd in "${lock_fd:-}" "$binfmt_changes_fd" "$binfmt_mount_fd" "$binfmt_entry_fd"; do
    [[ -n $fd ]] && eval "exec $fd>&-"
  done
  return 0
}

# Ends the processes whose root is the chroot (Wine, Xvfb, the emulator left
# by a run that was cut short), by process id.
end_processes_inside() {
  local dir pid pids=() tries
  dir=$(readlink -m "$w32")
  for pid in /proc/[0-9]*; do
    [[ $(readlink "$pid/root" 2>/dev/null) == "$dir" ]] && pids+=("${pid#/proc/}")
  done
  ((${#pids[@]})) || return 0
  log "ending ${#pids[@]} processes left inside the chroot"
  kill "${pids[@]}" 2>/dev/null || true
  for ((tries = 0; tries < 30; tries++)); do
    sleep 0.1
    for pid in "${pids[@]}"; do
      kill -0 "$pid" 2>/dev/null && continue 2
    done
    return 0
  done
  kill -9 "${pids[@]}" 2>/dev/null || true
}

# This machine's apt mirror for the main suites (the first URIs of its
# sources) and for the security suite.
apt_mirror() {
  local kind=$1 uris
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    uris=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources)
  else
    uris=$(sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\([^ ]*\) .*/\2/p' /etc/apt/sources.list 2>/dev/null)
  fi
  if [[ $kind == security ]]; then
    grep -m1 security <<<"$uris" || echo http://deb.debian.org/debian-security
  else
    grep -m1 -v security <<<"$uris" || echo http://deb.debian.org/debian
  fi
}
mirror=${MIRROR:-$(apt_mirror main)}
security_mirror=${SECURITY_MIRROR:-$(apt_mirror security)}

# The mount points below a folder (or the folder itself), deepest first.
mounts_under() {
  local dir
  dir=$(readlink -m "$1")
  awk '{ print $5 }' /proc/self/mountinfo | while read -r m; do
    m=$(printf '%b' "$m")  # mountinfo escapes blanks as \040
    if [[ $m == "$dir" || $m == "$dir"/* ]]; then echo "$m"; fi
  done | sort -r
}

# Removes a folder that holds (or held) a chroot: refused while anything is
# mounted in it.
remove_tree() {
  local left
  left=$(mounts_under "$1")
  if [[ -n $left ]]; then
    echo "w32: refusing to remove $1: still mounted:" $left >&2
    return 1
  fi
  rm -rf --one-file-system "$1"
}

# Prints why emulation cannot be set up here, or nothing.
why_not() {
  if [[ $(uname -m) != x86_64 ]]; then
    echo "not an x86_64 machine"
  elif [[ $(id -u) -ne 0 ]]; then
    echo "not root: a chroot and binfmt_misc need root"
  elif ! grep -qw binfmt_misc /proc/filesystems; then
    echo "the kernel has no binfmt_misc"
  elif ! command -v debootstrap >/dev/null && ! command -v apt-get >/dev/null; then
    echo "no debootstrap and no apt-get"
  fi
}

in_root() {
  (close_locks; exec chroot "$w32" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@")
}

# The chroot's own /proc, /sys (read-only), /dev and /dev/pts, and for a run
# the project (read-only) with build/i686 (writable) at their own paths.
mount_root() {
  local with_project=${1:-0} dev=$w32/dev
  mountpoint -q "$w32/proc" || mount -t proc proc "$w32/proc"
  mountpoint -q "$w32/sys" || mount -t sysfs -o ro sysfs "$w32/sys"
  if ! mountpoint -q "$dev"; then
    mount -t tmpfs -o mode=755,size=64m tmpfs "$dev"
    mknod -m 666 "$dev/null" c 1 3
    mknod -m 666 "$dev/zero" c 1 5
    mknod -m 666 "$dev/full" c 1 7
    mknod -m 666 "$dev/random" c 1 8
    mknod -m 666 "$dev/urandom" c 1 9
    mknod -m 666 "$dev/tty" c 5 0
    mkdir -m 755 "$dev/pts"
    mkdir -m 1777 "$dev/shm"
    ln -s pts/ptmx "$dev/ptmx"
    ln -s /proc/self/fd "$dev/fd"
    ln -s /proc/self/fd/0 "$dev/stdin"
    ln -s /proc/self/fd/1 "$dev/stdout"
    ln -s /proc/self/fd/2 "$dev/stderr"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$dev/pts"
  fi
  if ((with_project)); then
    mkdir -p "$w32$root" "$root/build/i686"
    if ! mountpoint -q "$w32$root"; then
      mount --bind "$root" "$w32$root"
      mount -o remount,bind,ro "$w32$root"
    fi
    mountpoint -q "$w32$root/build/i686" || mount --bind "$root/build/i686" "$w32$root/build/i686"
  fi
}

umount_root() {
  local m
  for m in $(mounts_under "$w32"); do
    umount "$m" 2>/dev/null || umount -l "$m"
  done
}

write_sources() {
  local with_security=$1
  rm -f "$w32/etc/apt/sources.list"
  cat >"$w32/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $mirror
Suites: bookworm bookworm-updates bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  if ((with_security)); then
    cat >>"$w32/etc/apt/sources.list.d/debian.sources" <<EOF

Types: deb
URIs: $security_mirror
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  fi
}

setup() {
  local reason
  reason=$(why_not)
  [[ -z $reason ]] || { echo "w32: $reason" >&2; return 1; }
  [[ -f $w32_ready ]] && return 0
  local t0=$SECONDS
  lock_alone
  [[ -f $w32_ready ]] && return 0
  # Cut short (TERM, Ctrl-C, a failure): nothing left running or mounted;
  # without the ready mark the next set-up takes it up again.
  trap setup_end EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  fi
  end_processes_inside
  umount_root
  if [[ ! -f $w32_base ]]; then
    # A new chroot, or one whose debootstrap did not finish.
    remove_tree "$w32"
    log "debootstrap bookworm from $mirror"
    debootstrap --variant=minbase bookworm "$w32" "$mirror" >"$w32.debootstrap.log" 2>&1 ||
      { echo "w32: debootstrap failed (see $w32.debootstrap.log)" >&2; return 1; }
    touch "$w32_base"
  fi
  mount_root
  cp /etc/resolv.conf "$w32/etc/resolv.conf"
  # No service starts inside.
  printf '#!/bin/sh\nexit 101\n' >"$w32/usr/sbin/policy-rc.d"
  chmod +x "$w32/usr/sbin/policy-rc.d"
  in_root dpkg --add-architecture i386
  write_sources 1
  if ! in_root apt-get update -qq; then
    # amd64 and i386 packages must come from the same suites (Multi-Arch:
    # same): when the security suite's lists do not load, it is left out.
    log "apt-get update failed; again without bookworm-security"
    write_sources 0
    rm -rf "$w32/var/lib/apt/lists/partial/"*
    in_root apt-get update -qq
  fi
  if [[ -x $w32/usr/bin/qemu-i386-static ]]; then
    # A set-up cut short: its packages are configured, or those whose
    # dependencies were left unpacked get them (apt-get -f), before the
    # rest; with the emulator, should one of them run a 32-bit program.
    binfmt_acquire
    log "taking up a set-up that was cut short"
    in_root dpkg --configure -a >/dev/null 2>&1 ||
      in_root apt-get install -y -qq -f --no-install-recommends >/dev/null
  fi
  log "qemu-user-static from bookworm-backports"
  in_root apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user-static >/dev/null
  binfmt_acquire
  log "${w32_packages[*]}"
  in_root apt-get install -y -qq --no-install-recommends "${w32_packages[@]}" >/dev/null
  in_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
  in_root apt-get clean
  setup_end
  touch "$w32_ready"
  log "chroot made in $((SECONDS - t0)) s"
}

setup_end() {
  trap - EXIT INT TERM
  end_processes_inside
  umount_root
  binfmt_release
}

# Runs a command inside, in the project folder, with the variables the Wine
# scripts take passed on.
run() {
  [[ -f $w32_ready ]] || { echo "w32: no chroot yet (scripts/w32/root.sh setup)" >&2; return 1; }
  lock_shared
  trap unlock_and_unmount EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  binfmt_acquire
  mount_root 1
  local vars=(PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8)
  local name
  for name in TESSAREL_FRESH_PREFIX WINE_ENV_WINEARCH CTEST_PARALLEL_LEVEL TERM; do
    [[ -n ${!name+set} ]] && vars+=("$name=${!name}")
  done
  local status=0
  (close_locks; exec chroot "$w32" /usr/bin/env -i "${vars[@]}" /bin/bash -c 'cd "$0" && exec "$@"' \
    "$root" "$@") || status=$?
  unlock_and_unmount
  return $status
}

versions() {
  [[ -f $w32_ready ]] || { echo "w32: no chroot yet" >&2; return 1; }
  chroot "$w32" dpkg-query -W -f='${Package}:${Architecture} ${Version}\n' \
    qemu-user-static wine wine32 wine64 libwine libwine:i386 xvfb cmake locales 2>/dev/null
  local name
  name=$(binfmt_own_name)
  echo "binfmt_misc $name: $(binfmt_field "$binfmt_dir/$name" interpreter || true)"
}

# In braces: read whole before it runs, so an edit of this file during a run
# cannot change what the rest of the run does.
{
case ${1:-} in
  check)
    reason=$(why_not)
    [[ -z $reason ]] || { echo "$reason"; exit 1; } ;;
  setup) setup ;;
  run) shift; run "$@" ;;
  shell) run /bin/bash ;;
  versions) versions ;;
  mount) mount_root 1 ;;
  umount) lock_alone -n || { echo "w32: a run is using the chroot" >&2; exit 1; }; umount_root ;;
  remove)
    lock_alone -n || { echo "w32: a run is using the chroot" >&2; exit 1; }
    binfmt_forget
    remove_tree "$w32" ;;
  *) sed -n '/^# Usage/,/^set -euo/p' "$0" | sed '$d' >&2; exit 2 ;;
esac
exit
}
