# Sourced by the test and run scripts: a Wine environment of its own for one
# run. wine_env_start BUILD_DIR [KEEP_ALIVE_EXE] starts it, wine_env_stop ends
# every process it started, by process id.
#
#   - the prefix lives in BUILD_DIR/wineprefix; it is made once and reused
#     (delete it, or set TESSAREL_FRESH_PREFIX=1, for a new one);
#   - Xvfb on a display it finds free itself, unless USE_DISPLAY is set to
#     a display to use;
#   - a persistent wineserver and wineboot before any test, so no test pays
#     for Wine's start-up and ctest does not wait on Wine's helper processes;
#   - a keep-alive program so the desktop process never hangs on a pipe.
# Each step of the start and of the end has a time limit; one that runs
# over fails the start with one line saying which step hung.
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
#   WINE_ENV_WINEARCH  win64 (default) or win32, the kind of a new prefix.

wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_env_xvfb_pid=""
wine_env_server_pid=""
wine_env_keep_alive_pid=""
# Time limits in seconds, generous for emulated 32-bit Wine on a loaded
# machine (a new 64-bit prefix boots there in about a minute).
wine_env_xvfb_limit=30
wine_env_boot_limit=300
wine_env_regedit_limit=180
wine_env_desktop_limit=180
wine_env_end_limit=30

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
    wine_env_start_xvfb || return 1
  fi

  local first_boot=0
  [[ -f "$WINEPREFIX/.tessarel-ready" ]] || first_boot=1
  # Wine's mount manager takes the drives from dosdevices when it starts:
  # they are set before the boot.
  if ((!first_boot)) && [[ -n ${WINE_ENV_DRIVES+set} ]]; then
    # shellcheck disable=SC2086  # the letters are separate words
    wine_env_set_drives $WINE_ENV_DRIVES || return 1
  fi
  wine_env_boot || return 1
  if ((first_boot)); then
    local settings
    settings=$(winepath -w "$wine_env_root/prefix-settings.reg" 2>/dev/null) || true
    wine_env_step "regedit (the prefix settings)" "$wine_env_regedit_limit" \
      wine regedit /S "$settings" || return 1
    if [[ ${WINE_ENV_WOW64:-0} == 1 && -d $WINEPREFIX/drive_c/windows/syswow64 ]]; then
      # The 32-bit regedit writes the 32-bit view.
      wine_env_step "the 32-bit regedit (the prefix settings)" "$wine_env_regedit_limit" \
        wine 'C:\windows\syswow64\regedit.exe' /S "$settings" || return 1
    fi
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    if [[ -n ${WINE_ENV_DRIVES+set} ]]; then
      # The import above needs z:, so a new prefix gets its drives now and
      # boots again for the mount manager to see them.
      wine_env_end_prefix
      # shellcheck disable=SC2086
      wine_env_set_drives $WINE_ENV_DRIVES || return 1
      wine_env_boot || return 1
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
    local deadline=$((SECONDS + wine_env_desktop_limit))
    until wine_env_desktop_runs; do
      if ! kill -0 "$wine_env_keep_alive_pid" 2>/dev/null; then
        echo "wine_env: the keep-alive program ended before Wine's desktop process started" >&2
        return 1
      fi
      if ((SECONDS > deadline)); then
        echo "wine_env: hung: Wine's desktop process did not start within $wine_env_desktop_limit s" >&2
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

# Xvfb on the first display it finds free (its lock file, its sockets,
# the abstract one too, which X servers in a chroot share with the
# machine's): it says which once it takes connections.
wine_env_start_xvfb() {
  local said display="" waited
  said=$(mktemp) || return 1
  env -u WINEPREFIX Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$said" >/dev/null 2>&1 &
  wine_env_xvfb_pid=$!
  for ((waited = 0; waited < wine_env_xvfb_limit * 10; waited++)); do
    # The number is there once its line is.
    read -r display <"$said" && break
    display=""
    wine_env_running "$wine_env_xvfb_pid" || break
    sleep 0.1
  done
  rm -f "$said"
  if [[ ! $display =~ ^[0-9]+$ ]]; then
    echo "wine_env: hung: Xvfb did not take connections within $wine_env_xvfb_limit s" >&2
    return 1
  fi
  export DISPLAY=:$display
}

# Runs one step of Wine's start-up (quiet, in the Chinese locale); one that
# runs over its limit is ended and named.
wine_env_step() {
  local what=$1 limit=$2 status=0
  shift 2
  LC_ALL=$TESSAREL_WINE_LOCALE timeout --foreground -k 10 "$limit" "$@" >/dev/null 2>&1 ||
    status=$?
  if ((status == 124 || status == 137)); then
    echo "wine_env: hung: $what did not finish within $limit s" >&2
    return 1
  fi
  return 0
}

# A persistent wineserver for the prefix, and Wine's start-up in it.
wine_env_boot() {
  wineserver -f -p >/dev/null 2>&1 &
  wine_env_server_pid=$!
  wine_env_step wineboot "$wine_env_boot_limit" wine wineboot -u
}

# Whether a process runs (has not ended, waited for or not).
wine_env_running() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [[ ${stat%% *} != Z ]]
}

# Waits for a process this script started and was told to end, for a few
# seconds, then ends it hard, naming it.
wine_env_wait_for() {
  local pid=$1 what=$2 waited
  for ((waited = 0; waited < wine_env_end_limit * 10; waited++)); do
    wine_env_running "$pid" || break
    sleep 0.1
  done
  if ((waited == wine_env_end_limit * 10)); then
    echo "wine_env: hung: $what did not end within $wine_env_end_limit s" >&2
    kill -9 "$pid" 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
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
    kill "$wine_env_keep_alive_pid" 2>/dev/null || true
    wine_env_wait_for "$wine_env_keep_alive_pid" "the keep-alive program"
  fi
  if [[ -n $wine_env_server_pid ]]; then
    kill "$wine_env_server_pid" 2>/dev/null || true
    wine_env_wait_for "$wine_env_server_pid" "the wineserver"
  fi
  wine_env_keep_alive_pid="" wine_env_server_pid=""
}

wine_env_stop() {
  wine_env_end_prefix
  if [[ -n $wine_env_xvfb_pid ]]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wine_env_wait_for "$wine_env_xvfb_pid" Xvfb
  fi
  wine_env_keep_alive_pid="" wine_env_server_pid="" wine_env_xvfb_pid=""
}
