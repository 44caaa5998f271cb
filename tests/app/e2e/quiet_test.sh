#!/usr/bin/env bash
# The command line deployment tools use, through the real exe and launcher:
# - /quiet /log: a network install with no window and no box, as the interactive run installs it;
#   the log holds the version, the command line, the config file, the OS width, the trace lines,
#   the box as a line and, last, the result;
# - /quiet without IPAddress: 1603, the spooler unchanged, the log says why;
# - /quiet on USB with a monitor and no device attached: 1603, the hint in the log;
# - /config other.ini (relative to the exe's folder) is read instead of config.ini; a /config file
#   that is not there fails with 1603 and changes nothing;
# - a mistyped switch: 1639 with the usage in the log, nothing changed;
# - a second wizard while a first waits on its first page: 1618, nothing changed;
# - no switch at all in a window station nobody sees: quiet, logged to %ProgramData%.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
net="10.44.$((RANDOM % 250))"
quiet_run() {  # <dir> [arguments...]: a run that must end by itself; the log is <dir>/install.log
  local dir=$1
  shift
  e2e_start "$dir" "$@"
  e2e_finish "$dir"
}
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
runs=()

# A quiet network install.
name="E2E Quiet $tag"
address="$net.1"
run=$(e2e_config "$name" ETH "$address" '[DATA]\nPaperName=Label 60x40\nDarkness=8\n' | e2e_layout quiet-network)
runs+=("$run")
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
e2e_expect_count "$run/wizard.log" "MSGBOX_OnInit" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$address" LBLENG)"
e2e_expect_text "$run/probe.out" "$(printf 'data\t%s\tPaperName\tLabel 60x40' "$name")"
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "PrinterSetup $(sed -n 's/.*project(PrinterSetup VERSION \([0-9.]*\).*/\1/p' "$E2E_REPO_DIR/CMakeLists.txt")"
e2e_expect_line_start "$run/log.txt" "Command line: "
e2e_expect_text "$run/log.txt" "/quiet /log "
e2e_expect_line "$run/log.txt" "Tollinder - Config $(e2e_winpath "$run/config.ini")"
e2e_expect_line "$run/log.txt" "Tollinder - OS width 32"
e2e_expect_line "$run/log.txt" "Tollinder - Language ENG"
e2e_expect_line "$run/log.txt" "Tollinder - PaperName Label 60x40"
e2e_expect_line "$run/log.txt" "box: OK: Add Printer Successful - $name"
[ "$(tail -n 1 "$run/log.txt")" = "result: 0 installed" ] || e2e_fail "the log's last line: $(tail -n 1 "$run/log.txt")"

# Quiet without an address: nothing to install on.
run=$(e2e_config "E2E Quiet NoAddr $tag" ETH | e2e_layout quiet-no-address)
runs+=("$run")
e2e_probe "$run" "$run/before.out"
quiet_run "$run" /q /log "$(e2e_winpath "$run/install.log")"
e2e_probe "$run"
e2e_expect_exit "$run" 1603
cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "no address: the spooler changed"
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "box: ERROR: config.ini: IPAddress is empty. - ERROR CODE: 123"
e2e_expect_line "$run/log.txt" "result: 1603 failed"

# Quiet USB with a monitor and no device attached.
run=$(e2e_config "E2E Quiet Usb $tag" USB "" 'PortMonitor=E2E Quiet Monitor\nPortNamePrefix=E2EQ\n' | e2e_layout quiet-usb)
runs+=("$run")
quiet_run "$run" -SILENT "/log=$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 1603
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "box: ERROR: Did not find the USB printer. Please confirm the USB connection is correct, and the printer has been switched on. - ERROR CODE: 0"
e2e_expect_line "$run/log.txt" "result: 1603 failed"
[ ! -e "$run/MONITOR32/MonitorSetup.ran" ] || e2e_fail "the monitor's setup tool ran without a device"

# Another configuration file, named relative to the exe's folder.
other="E2E Quiet Other $tag"
run=$(e2e_config "E2E Quiet Unused $tag" ETH "$net.3" | e2e_layout quiet-config)
runs+=("$run")
e2e_config "$other" ETH "$net.4" | sed 's/$/\r/' >"$run/other.ini"
quiet_run "$run" /quiet /config other.ini /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$other" "$net.4" LBLENG)"
e2e_expect_no_text "$run/probe.out" "E2E Quiet Unused $tag"
quiet_run "$run" /quiet /config missing.ini /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 1603
e2e_expect_text "$run/install.log" "Config File Not Found: $(e2e_winpath "$run/missing.ini")"

# A mistyped switch never turns into an install.
run=$(e2e_config "E2E Quiet Typo $tag" ETH "$net.5" | e2e_layout quiet-typo)
runs+=("$run")
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")" /quite
e2e_expect_exit "$run" 1639
e2e_expect_text "$run/install.log" "/quite"
e2e_expect_text "$run/install.log" "result: 1639 invalid command line"
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "E2E Quiet Typo $tag"

# One install at a time: a second wizard while the first waits on its language page.
first=$(e2e_config "E2E Quiet First $tag" ETH "$net.6" | e2e_layout quiet-first)
second=$(e2e_config "E2E Quiet Second $tag" ETH "$net.7" | e2e_layout quiet-second)
runs+=("$first" "$second")
e2e_start "$first"
e2e_drive "$first" "window E2E Quiet First $tag" "waitpage language" >/dev/null
quiet_run "$second" /quiet /log "$(e2e_winpath "$second/install.log")"
e2e_expect_exit "$second" 1618
e2e_drive "$first" "window E2E Quiet First $tag" close gone >/dev/null
e2e_finish "$first"
e2e_expect_exit "$first" 1602
e2e_expect_text "$second/install.log" "result: 1618 already running"
e2e_probe "$second"
e2e_expect_no_text "$second/probe.out" "E2E Quiet Second $tag"

# Nobody there: a window station that is not visible makes the run quiet by itself.
name="E2E Quiet Station $tag"
run=$(e2e_config "$name" ETH "$net.8" | e2e_layout quiet-station)
runs+=("$run")
E2E_LAUNCH_OPTIONS=--invisible-station quiet_run "$run"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$net.8" LBLENG)"
default_log="$WINEPREFIX/drive_c/ProgramData/PrinterSetup/install.log"
# This run's part of the shared default log: from its command line on.
tr -d '\r' <"$default_log" | sed 's/^[0-9-]* [0-9:.]* //' |
  EXE="$(e2e_winpath "$run")" awk 'index($0, "Command line: " ENVIRON["EXE"]) == 1 { on = 1 } on' >"$run/log.txt"
e2e_expect_line "$run/log.txt" "No visible window station: running quiet"
e2e_expect_line "$run/log.txt" "result: 0 installed"

e2e_done "${runs[@]}"
