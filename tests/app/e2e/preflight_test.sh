#!/usr/bin/env bash
# Before the first change, through the real exe, quiet:
# - the prefix's Print Spooler service set to disabled: 1603, "spooler-disabled", nothing changed
#   (Wine's sc cannot change a start type: the service's registry value is set, and the prefix's
#   wineserver restarted so that its service manager reads it again);
# - the protected-print policy value set: 1625, "blocked-by-policy", nothing changed, and
#   /verify still answers;
# - a stopped Print Spooler is started, and the install succeeds;
# - a misspelt quiet switch: 1639 in the log and no box (a box would keep the run waiting until
#   the launcher's limit).
# The service and the policy are put back however the test ends.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
net="10.36.$((RANDOM % 250))"
runs=()
wpp_key='HKLM\SOFTWARE\Policies\Microsoft\Windows NT\Printers\WPP'
spooler_key='HKLM\System\CurrentControlSet\Services\Spooler'
e2e_wine "$E2E_WORK_DIR/start.out" /dev/null reg query "$spooler_key" /v Start
start_type=$(tr -d '\r' <"$E2E_WORK_DIR/start.out" | awk '$1 == "Start" { print $3 }')
start_type=$((${start_type:-3}))
set_start() {  # <start type>
  e2e_wine /dev/null /dev/null reg add "$spooler_key" /v Start /t REG_DWORD /d "$1" /f
  wineserver -k
  wineserver -w
}
restore() {
  set_start "$start_type"
  e2e_wine /dev/null /dev/null reg delete "$wpp_key" /f
}
trap restore EXIT
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
quiet_run() {  # <dir> [arguments...]
  local dir=$1
  shift
  rm -f "$dir/install.log"
  e2e_start "$dir" /quiet /log "$(e2e_winpath "$dir/install.log")" "$@"
  e2e_finish "$dir"
  log_of "$dir" >"$dir/log.txt"
}

name="E2E Preflight $tag"
run=$(e2e_config "$name" ETH "$net.1" | e2e_layout preflight)
runs+=("$run")
e2e_probe "$run" "$run/before.out"

set_start 4  # SERVICE_DISABLED
quiet_run "$run"
e2e_expect_exit "$run" 1603
e2e_expect_line "$run/log.txt" "box: PrinterSetup: The Print Spooler service is disabled. Enable it and run the setup again. Nothing was changed."
[ "$(tail -n 1 "$run/log.txt")" = "result: 1603 spooler-disabled" ] || e2e_fail "disabled: last line $(tail -n 1 "$run/log.txt")"
set_start "$start_type"

e2e_wine /dev/null /dev/null reg add "$wpp_key" /v WindowsProtectedPrintGroupPolicyState /t REG_DWORD /d 1 /f
quiet_run "$run"
e2e_expect_exit "$run" 1625
e2e_expect_text "$run/log.txt" "box: PrinterSetup: Windows protected print mode is on."
[ "$(tail -n 1 "$run/log.txt")" = "result: 1625 blocked-by-policy" ] || e2e_fail "policy: last line $(tail -n 1 "$run/log.txt")"
rm -f "$run/install.log"
e2e_start "$run" /verify /log "$(e2e_winpath "$run/install.log")"
e2e_finish "$run"
e2e_expect_exit "$run" 1
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "verify: missing printer $name"
e2e_wine /dev/null /dev/null reg delete "$wpp_key" /f
e2e_probe "$run"
cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "preflight: the spooler changed"

# A quiet switch misspelt: the usage goes to the log; nothing waits on a box.
rm -f "$run/install.log"
e2e_start "$run" /log "$(e2e_winpath "$run/install.log")" /quite /quiet
e2e_finish "$run"
e2e_expect_exit "$run" 1639
log_of "$run" >"$run/log.txt"
e2e_expect_text "$run/log.txt" "box: PrinterSetup: Unknown switch \"/quite\"."

# A spooler that is not running (a fresh wineserver starts none) is started, and the install goes on.
wineserver -k
wineserver -w
quiet_run "$run"
e2e_expect_exit "$run" 0
e2e_expect_line "$run/log.txt" "Tollinder - Preflight: Print Spooler stopped, started"
e2e_expect_text "$run/log.txt" "Tollinder - Preflight: Print Spooler ready after"
quiet_run "$run" /uninstall
e2e_expect_exit "$run" 0

e2e_done "${runs[@]}"
