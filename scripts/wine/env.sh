# Sourced by the test and run scripts: a Wine environment of its own for one
# run. wine_env_start BUILD_DIR [KEEP_ALIVE_EXE] starts it, wine_env_stop ends
# every process it started, by process id.
#
#   - the prefix lives in BUILD_DIR/wineprefix; it is made once and reused
#     (delete it, or set TESSAREL_FRESH_PREFIX=1, for a new one);
#   - Xvfb on a free display unless USE_DISPLAY is set to a display to use;
#   - a persistent wineserver and wineboot before any test, so no test pays
#     for Wine's start-up and ctest does not wait on Wine's helper processes;
#   - a keep-alive program so the desktop process never hangs on a pipe.
#
# Optional variables, set for the call (WINE_ENV_PREFIX=... wine_env_start
# ...), give a prefix of another kind:
#   WINE_ENV_PREFIX  the prefix folder to use instead of BUILD_DIR/wineprefix;
#   WINE_ENV_DRIVES  drive letters besides c:, such as "d e": the prefix then
#                    has exactly c: and these, each a folder drive_<letter>
#                    inside it, and no z: (nor any other drive); Wine reports
#                    them all as fixed drives. Without z: a program must lie
#                    inside the prefix to be started (e.g. under drive_c);
#   WINE_ENV_WOW64   1: the programs run are 32-bit (in a 64-bit prefix they
#                    read the 32-bit registry view), so the prefix settings
#                    are written into that view too;
# and, for the whole environment:
#   WINE_ENV_WINEARCH  win64 (default) or win32, the kind of a new prefix;
#   WINE_ENV_DISPLAYS  "FIRST LAST", the X displays to pick a free one from
#                      (default "90 190").

wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_env_xvfb_pid=""
wine_env_server_pid=""
wine_env_keep_alive_pid=""

# Prints the ids of the Wine processes (Wine's own binaries) that run with
# this run's prefix.
wine_env_prefix_pids() {
  local pid exe
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
    # An emulated 32-bit Wine process runs as the emulator, qemu-i386.
    [[ $exe == */wine/* || $exe == */wine64* || $exe == */wineserver* || $exe == */qemu-i386* ]] ||
      continue
    # grep reads it all: a grep -q ending early would fail the pipe (pipefail).
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -xF "WINEPREFIX=$WINEPREFIX" >/dev/null; then
      echo "$pid"
    fi
  done
}

# A display no X server uses: neither its lock file nor its socket here, nor
# its abstract socket, which X servers in a chroot (other /tmp) share with
# this machine.
wine_env_free_display() {
  local n abstract
  abstract=$(grep -o '@/tmp/.X11-unix/X[0-9]*$' /proc/net/unix 2>/dev/null || true)
  # shellcheck disable=SC2086  # two numbers
  for n in $(seq ${WINE_ENV_DISPLAYS:-90 190}); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]] &&
      ! grep -qx "@/tmp/.X11-unix/X$n" <<<"$abstract"; then
      echo ":$n"
      return 0
    fi
  done
  echo "wine_env: no free X display" >&2
  return 1
}

# Makes the prefix's drives exactly c: and the letters given, each linked to
# a folder drive_<letter> inside the prefix.
wine_env_set_drives() {
  local devices="$WINEPREFIX/dosdevices" link letter
  for link in "$devices"/?: "$devices"/?::; do
    [[ -L $link ]] || continue
    letter=$(basename "$link")
    [[ ${letter:0:1} == c ]] && continue
    rm -f "$link"
  done
  for letter in "$@"; do
    letter=${letter,,}
    [[ $letter =~ ^[abd-z]$ ]] || { echo "wine_env: not a drive letter: $letter" >&2; return 1; }
    mkdir -p "$WINEPREFIX/drive_$letter"
    ln -s "../drive_$letter" "$devices/$letter:"
  done
}

wine_env_start() {
  local build_dir=$1 keep_alive=${2:-}
  export WINEPREFIX="${WINE_ENV_PREFIX:-$build_dir/wineprefix}"
  export WINEARCH=${WINE_ENV_WINEARCH:-win64} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Chinese locale: ANSI code page 936 and Chinese text rendering.
  export TESSAREL_WINE_LOCALE=zh_CN.UTF-8

  if [[ ${TESSAREL_FRESH_PREFIX:-0} == 1 ]]; then
    wine_env_remove_prefix || return 1
  fi
  mkdir -p "$WINEPREFIX"

  if [[ -n ${USE_DISPLAY:-} ]]; then
    export DISPLAY=$USE_DISPLAY
  else
    local display
    display=$(wine_env_free_display)
    env -u WINEPREFIX Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    wine_env_xvfb_pid=$!
    export DISPLAY=$display
    local tries=0
    until [[ -e /tmp/.X11-unix/X${display#:} ]]; do
      ((++tries > 100)) && { echo "wine_env: Xvfb did not start" >&2; return 1; }
      sleep 0.1
    done
  fi

  local first_boot=0
  [[ -f "$WINEPREFIX/.tessarel-ready" ]] || first_boot=1
  # Wine's mount manager takes the drives from dosdevices when it starts:
  # they are set before the boot.
  if ((!first_boot)) && [[ -n ${WINE_ENV_DRIVES+set} ]]; then
    # shellcheck disable=SC2086  # the letters are separate words
    wine_env_set_drives $WINE_ENV_DRIVES || return 1
  fi
  wine_env_boot
  if ((first_boot)); then
    local settings
    settings=$(winepath -w "$wine_env_root/prefix-settings.reg" 2>/dev/null) || true
    LC_ALL=$TESSAREL_WINE_LOCALE wine regedit /S "$settings" >/dev/null 2>&1
    if [[ ${WINE_ENV_WOW64:-0} == 1 && -d $WINEPREFIX/drive_c/windows/syswow64 ]]; then
      # The 32-bit regedit writes the 32-bit view.
      LC_ALL=$TESSAREL_WINE_LOCALE wine 'C:\windows\syswow64\regedit.exe' /S "$settings" \
        >/dev/null 2>&1
    fi
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    if [[ -n ${WINE_ENV_DRIVES+set} ]]; then
      # The import above needs z:, so a new prefix gets its drives now and
      # boots again for the mount manager to see them.
      wine_env_end_prefix
      # shellcheck disable=SC2086
      wine_env_set_drives $WINE_ENV_DRIVES || return 1
      wine_env_boot
    fi
    touch "$WINEPREFIX/.tessarel-ready"
  fi

  if [[ -n $keep_alive ]]; then
    LC_ALL=$TESSAREL_WINE_LOCALE wine "$keep_alive" >/dev/null 2>&1 &
    wine_env_keep_alive_pid=$!
    # The first program that needs the desktop starts Wine's desktop process,
    # which inherits its output: were that a test's, ctest would wait on it
    # for ever. So the desktop runs before anything else starts (an emulated
    # keep-alive takes seconds to get there).
    local deadline=$((SECONDS + 120))
    until wine_env_desktop_runs; do
      if ! kill -0 "$wine_env_keep_alive_pid" 2>/dev/null || ((SECONDS > deadline)); then
        echo "wine_env: Wine's desktop process did not start" >&2
        return 1
      fi
      sleep 0.2
    done
  fi
}

# Whether the prefix's desktop process (explorer.exe /desktop) runs.
wine_env_desktop_runs() {
  local pid
  for pid in $(wine_env_prefix_pids); do
    local command
    command=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) || continue
    [[ ${command,,} == *explorer.exe*/desktop* ]] && return 0
  done
  return 1
}

# Deletes the prefix folder; refused while anything is mounted below it (a
# chroot's /dev or /proc: a removal through them reaches the machine's own).
wine_env_remove_prefix() {
  local dir
  dir=$(readlink -m "$WINEPREFIX")
  if [[ -n $(awk -v d="$dir" '$5 == d || index($5, d "/") == 1' /proc/self/mountinfo) ]]; then
    echo "wine_env: refusing to delete $WINEPREFIX: something is mounted in it" >&2
    return 1
  fi
  rm -rf --one-file-system "$WINEPREFIX"
}

# A persistent wineserver for the prefix, and Wine's start-up in it.
wine_env_boot() {
  wineserver -f -p >/dev/null 2>&1 &
  wine_env_server_pid=$!
  LC_ALL=$TESSAREL_WINE_LOCALE wine wineboot -u >/dev/null 2>&1
}

# Ends the Wine processes of the prefix, then its wineserver.
wine_env_end_prefix() {
  local pids
  if [[ -n ${WINEPREFIX:-} ]]; then
    pids=$(wine_env_prefix_pids | grep -vxF -e "${wine_env_server_pid:-none}" -e "$$" || true)
    if [[ -n $pids ]]; then
      kill $pids 2>/dev/null || true
      sleep 0.5
      kill -9 $pids 2>/dev/null || true
    fi
  fi
  if [[ -n $wine_env_keep_alive_pid ]]; then
    wait "$wine_env_keep_alive_pid" 2>/dev/null || true
  fi
  if [[ -n $wine_env_server_pid ]]; then
    kill "$wine_env_server_pid" 2>/dev/null || true
    wait "$wine_env_server_pid" 2>/dev/null || true
  fi
  wine_env_keep_alive_pid="" wine_env_server_pid=""
}

wine_env_stop() {
  wine_env_end_prefix
  if [[ -n $wine_env_xvfb_pid ]]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wait "$wine_env_xvfb_pid" 2>/dev/null || true
  fi
  wine_env_keep_alive_pid="" wine_env_server_pid="" wine_env_xvfb_pid=""
}
