# shellcheck shell=bash
# Sourced by the run script after env.sh: how a run of the program starts
# and ends. Each run starts from the program's first state, however the last
# one left the prefix, and says how the program ended.
#
#   run_start_wait_for_instance   waits while the program runs in the prefix
#   run_start_wait_for_prefix     waits until no Wine process uses the prefix
#   run_start_clean_prefix DIR    removes the program's log-on entries and
#                                 scheduled task from a prefix not in use
#   run_start_program NAME COMMAND...  runs it, then run_start_report_exit
#   run_start_report_exit NAME STATUS  says so when a program ended with other than 0
#   run_start_report_paths FILE   the recorded report pages, as paths here
#
# All but run_start_clean_prefix use WINEPREFIX.

# What the program and its engine leave behind to start again at log-on:
# values of HKLM\Software\Microsoft\Windows\CurrentVersion\Run (either
# registry view) and a Task Scheduler job.
run_start_run_values=(tessarel veltor)
run_start_task_file="Tessarel 任务.job"

# Prints the ids of the prefix's processes whose command line, in lower
# case, matches the pattern. Shell built-ins only: the machine may run
# hundreds of processes, and this is called every half second.
run_start_prefix_pids_matching() {
  local pattern=$1 dir arg args entry
  for dir in /proc/[0-9]*; do
    args=""
    { while IFS= read -r -d '' arg; do args+="$arg "; done <"$dir/cmdline"; } 2>/dev/null || continue
    # shellcheck disable=SC2053  # the pattern is a glob
    [[ ${args,,} == $pattern ]] || continue
    { while IFS= read -r -d '' entry; do
        if [[ $entry == "WINEPREFIX=$WINEPREFIX" ]]; then
          echo "${dir#/proc/}"
          break
        fi
      done <"$dir/environ"; } 2>/dev/null
  done
}

# Prints the ids of the prefix's processes running Tessarel.exe.
run_start_instances() {
  run_start_prefix_pids_matching '*tessarel.exe*'
}

# A program started by another run, or by Wine's log-on from a Run value,
# is left to its user: this says so once and waits until it has ended.
run_start_wait_for_instance() {
  local pids
  pids=$(run_start_instances)
  [[ -n $pids ]] || return 0
  echo "run: Tessarel is already running in $WINEPREFIX (process ${pids//$'\n'/, }); waiting for it to end."
  while [[ -n $(run_start_instances) ]]; do
    sleep 0.5
  done
}

# The registry of a prefix lives in its wineserver while one runs: the
# clean start edits the files only when none does. An earlier run ends its
# processes when it ends; Wine's own leave a few seconds after the last
# program.
run_start_wait_for_prefix() {
  local waited=0
  while [[ -n $(wine_env_prefix_pids) ]]; do
    if ((waited == 10)); then
      echo "run: Wine processes of another session still use $WINEPREFIX; waiting for them to end."
    fi
    sleep 0.5
    ((++waited))
  done
}

# Prints the entries of folder DIR named NAME in any letter case, one a
# line: Windows names are not case-sensitive, and Wine's prefix holds
# "windows/tasks" where Windows has "Windows/Tasks".
run_start_entries_named() {
  local dir=$1 name=$2 entry
  for entry in "$dir"/*; do
    [[ -e $entry ]] || continue
    local base=${entry##*/}
    [[ ${base,,} == "${name,,}" ]] && echo "$entry"
  done
}

# Removes the Run values "Tessarel" and "VELTOR" from the prefix's
# system.reg and the scheduled task's file, so Wine's start-up launches
# nothing and the program's options show what a new installation shows.
# Call only while no process uses the prefix.
run_start_clean_prefix() {
  local prefix=$1 registry="$1/system.reg" windows tasks task
  while IFS= read -r windows; do
    while IFS= read -r tasks; do
      while IFS= read -r task; do
        rm -f "$task"
      done < <(run_start_entries_named "$tasks" "$run_start_task_file")
    done < <(run_start_entries_named "$windows" tasks)
  done < <(run_start_entries_named "$prefix/drive_c" windows)
  [[ -f $registry ]] || return 0
  local names
  names=$(IFS='|'; echo "${run_start_run_values[*]}")
  # Sections start with "[key path]"; a value's data may go on over lines
  # that end with a backslash.
  awk -v names="^\"($names)\"=" '
    /^\[/ {
      key = tolower($0)
      in_run = key ~ /^\[software\\\\(wow6432node\\\\)?microsoft\\\\windows\\\\currentversion\\\\run\]/
    }
    in_run && tolower($0) ~ names { skipping = 1 }
    skipping { if ($0 !~ /\\$/) skipping = 0; next }
    { print }
  ' "$registry" >"$registry.clean" || { rm -f "$registry.clean"; return 1; }
  if cmp -s "$registry" "$registry.clean"; then
    rm -f "$registry.clean"
  else
    mv "$registry.clean" "$registry"
  fi
}

# Says how the program ended when that was not with code 0. Wine passes on
# only the low 8 bits of a Windows exit code.
run_start_report_exit() {
  local name=$1 status=$2
  ((status == 0)) && return 0
  echo "run: $name ended with exit code $status (the low 8 bits of its Windows exit code)."
}

# The report pages the engine recorded (Windows paths such as
# C:\Tessarel\defragreport.html, code page 936), one path on this machine a
# line.
run_start_report_paths() {
  local file=$1 address letter rest drive
  [[ -s $file ]] || return 0
  echo "run: nothing here can show the report pages the program opened; they are:"
  while IFS= read -r address || [[ -n $address ]]; do
    address=${address%$'\r'}
    [[ -n $address ]] || continue
    if [[ $address =~ ^([A-Za-z]):\\(.*)$ ]]; then
      letter=${BASH_REMATCH[1],,}
      rest=${BASH_REMATCH[2]//\\//}
      drive=$(readlink -f "$WINEPREFIX/dosdevices/$letter:" 2>/dev/null) || drive=""
      if [[ -n $drive ]]; then
        echo "  $drive/$rest"
        continue
      fi
    fi
    echo "  $address"
  done < <(iconv -f GB18030 -t UTF-8 "$file" 2>/dev/null || cat "$file")
}

# Runs the command (wine and the program) in the foreground, then reports
# its exit as above; returns the status.
run_start_program() {
  local name=$1 status=0
  shift
  "$@" || status=$?
  run_start_report_exit "$name" "$status"
  return "$status"
}
