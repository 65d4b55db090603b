#!/usr/bin/env bash
# The run script's start and end (scripts/wine/run_start.sh), in the test
# run's Wine environment (WINEPREFIX, DISPLAY and the wineserver are the
# test script's). Usage: run_start_tests.sh SCRIPTS_WINE_DIR STAND_IN_EXE
# where STAND_IN_EXE is a program that runs until it is ended.
set -uo pipefail

scripts=$1
stand_in=$2
# shellcheck source=../../../scripts/wine/env.sh
source "$scripts/env.sh"
# shellcheck source=../../../scripts/wine/run_start.sh
source "$scripts/run_start.sh"

failures=0
fail() {
  echo "FAILED: $*"
  ((++failures))
}
scratch=$(mktemp -d)
stand_in_pid=""
cleanup() {
  [[ -n $stand_in_pid ]] && kill "$stand_in_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
# Wine's programs here must not hand the test's output pipes to a desktop
# process that outlives them (ctest would wait on it): the desktop is made
# by the test script's keep-alive program, and wine's output goes nowhere.
for _ in $(seq 100); do
  [[ -n $(run_start_prefix_pids_matching '*explorer.exe /desktop*') ]] && break
  sleep 0.1
done
quiet_wine() {
  wine "$@" </dev/null >/dev/null 2>&1
}

# --- the clean start: a prefix left with the program's Run values and task
# Catches a Run value that survives in either registry view (Wine's start-up
# would start a second copy that makes the run's own exit at once), a task
# that stays (looked for as "Tasks" where Wine makes "tasks"), and a
# clean-up that takes anything else with it.
prefix="$scratch/prefix"
tasks="$prefix/drive_c/windows/tasks"
mkdir -p "$tasks"
touch "$tasks/Tessarel 任务.job" "$tasks/Other.job"
cat >"$prefix/system.reg" <<'REG'
WINE REGISTRY Version 2
;; All keys relative to \\Machine

[Software\\Microsoft\\Windows\\CurrentVersion\\Run] 1765300000
#time=1db6a0b1c2d3e4f
"Other"="C:\\other.exe"
"Tessarel"="\"C:\\Tessarel\\Tessarel.exe\""
"VELTOR"="\"C:\\Tessarel\\VELTOR.exe\""

[Software\\Tessarel] 1765300000
"Tessarel"="kept"

[Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run] 1765300000
"tessarel"=hex(2):22,00,43,00,3a,00,5c,00,54,00,65,00,73,00,73,00,61,00,72,00,\
  65,00,6c,00,2e,00,65,00,78,00,65,00,22,00,00,00
"Kept"="C:\\kept.exe"

[Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce] 1765300000
"VELTOR"="kept too"
REG
run_start_clean_prefix "$prefix" || fail "the clean start failed"
expected='WINE REGISTRY Version 2
;; All keys relative to \\Machine

[Software\\Microsoft\\Windows\\CurrentVersion\\Run] 1765300000
#time=1db6a0b1c2d3e4f
"Other"="C:\\other.exe"

[Software\\Tessarel] 1765300000
"Tessarel"="kept"

[Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run] 1765300000
"Kept"="C:\\kept.exe"

[Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce] 1765300000
"VELTOR"="kept too"'
[[ $(cat "$prefix/system.reg") == "$expected" ]] ||
  fail "system.reg after the clean start:"$'\n'"$(cat "$prefix/system.reg")"
[[ ! -e "$tasks/Tessarel 任务.job" ]] || fail "the task's file stayed"
[[ -e "$tasks/Other.job" ]] || fail "another task's file went"
run_start_clean_prefix "$scratch/no-prefix-here" || fail "a prefix not made yet is an error"

# --- how the program ended
# Catches an exit code swallowed (the bug: nothing printed, nothing to go
# on) and a message for a normal end.
output=$(run_start_program cmd.exe quiet_wine cmd /c exit 259 2>&1)
status=$?
((status == 3)) || fail "status $status, not 3 (259's low 8 bits)"
[[ $output == *"cmd.exe ended with exit code 3"* ]] || fail "exit message: '$output'"
output=$(run_start_program cmd.exe quiet_wine cmd /c exit 0 2>&1) || fail "a normal end failed"
[[ -z $output ]] || fail "a normal end printed: '$output'"

# --- a copy of the program already running in the prefix
# Catches a run that ends the running copy or starts beside it: it says so
# in one line and waits until that copy has ended by itself.
mkdir -p "$scratch/program"
cp "$stand_in" "$scratch/program/Tessarel.exe"
[[ -z $(run_start_instances) ]] || fail "a copy of the program runs before the test started one"
wine "$scratch/program/Tessarel.exe" </dev/null >/dev/null 2>&1 &
stand_in_pid=$!
for _ in $(seq 100); do
  [[ -n $(run_start_instances) ]] && break
  sleep 0.1
done
[[ $(run_start_instances) == "$stand_in_pid" ]] ||
  fail "the running copy is not found: '$(run_start_instances)', started $stand_in_pid"
run_start_wait_for_instance >"$scratch/waiting.txt" 2>&1 &
waiter=$!
for _ in $(seq 100); do
  [[ -s $scratch/waiting.txt ]] && break
  sleep 0.1
done
sleep 1
kill -0 "$waiter" 2>/dev/null || fail "the run did not wait for the running copy"
kill -0 "$stand_in_pid" 2>/dev/null || fail "the running copy was ended"
[[ $(wc -l <"$scratch/waiting.txt") -eq 1 && $(cat "$scratch/waiting.txt") == *"already running"* ]] ||
  fail "the run's note: '$(cat "$scratch/waiting.txt")'"
kill "$stand_in_pid"
wait "$stand_in_pid" 2>/dev/null
stand_in_pid=""
for _ in $(seq 150); do
  kill -0 "$waiter" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$waiter" 2>/dev/null; then
  fail "the run still waits after the copy ended"
  kill "$waiter"
fi

# --- the report pages, where nothing can show them
# Catches a page listed by its Windows address (no such path here) or a
# drive taken from the wrong place.
printf 'C:\\Tessarel\\analysisreport.html\r\nC:\\Tessarel\\defragreport.html\n' \
  >"$scratch/opened-reports.txt"
drive_c=$(readlink -f "$WINEPREFIX/dosdevices/c:")
expected="run: nothing here can show the report pages the program opened; they are:
  $drive_c/Tessarel/analysisreport.html
  $drive_c/Tessarel/defragreport.html"
output=$(run_start_report_paths "$scratch/opened-reports.txt")
[[ $output == "$expected" ]] || fail "report paths: '$output'"
[[ -z $(run_start_report_paths "$scratch/none.txt") ]] || fail "pages listed without any"

((failures == 0)) && echo "run_start_tests: all passed"
exit $((failures > 0))
