#!/usr/bin/env bash
# Re-runs, updates and uninstall through the real exe, quiet and interactive:
# - IfExists=Keep twice: one printer; the second run changes nothing and exits 0;
# - IfExists=Update with a changed DATA value and a changed GPD file: the printer keeps its name,
#   the new value and file are in place, and the printing defaults set on it in between stay;
#   an Update to another address takes the old port;
# - uninstall after two installs ("Name" and "Name(2)", IfExists=New) with a printer of another
#   driver on the same port: both printers and the driver go, the shared port stays;
#   interactively the Yes/No box lists them first; a second uninstall finds nothing (exit 0);
# - each install leaves the detection marker of its printer (HKLM\SOFTWARE\PrinterSetup\Printers),
#   with this build's version; the uninstall takes the markers of the printers it removed;
# - a DeletePort the monitor refuses once: the uninstall fails (1603) and remembers the port in
#   PendingPorts, and the next uninstall, with no printer left, takes it.
# Each run uses a driver prefix of its own, so no other test's printer holds its driver.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
net="10.33.$((RANDOM % 250))"
runs=()
quiet_run() {  # <dir> [arguments...]
  local dir=$1
  shift
  e2e_start "$dir" "$@"
  e2e_finish "$dir"
}
probe_verb() {  # <dir> <name of the output> verb args...: the probe's other verbs
  local dir=$1 out=$1/$2.out
  shift 2
  e2e_wine "$out" "$out.err" "$E2E_PROBE" "$@" || e2e_fail "spoolprobe $1 failed: $(cat "$out" "$out.err")"
  sed -i 's/\r$//' "$out"
}
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
# with_prefix <dir> <prefix>: the LBL package's files under another driver prefix.
with_prefix() {
  local file
  for file in "$1"/SETUP/*/LBL* "$1"/SETUP64/*/LBL*; do
    mv "$file" "$(dirname "$file")/$2${file##*/LBL}"
  done
}
config() {  # <name> <prefix> <address> <IfExists> [more lines]
  printf '[ARGS]\nCaption=%s\nPrnName=%s\nPrefix=%s\nDefaultLanguage=ENG\nDefaultPorttype=ETH\nIPAddress=%s\nIfExists=%s\n%b' \
    "$1" "$1" "$2" "$3" "$4" "${5:-}"
}

# Keep, twice.
name="E2E Keep $tag"
prefix="K${tag}"
run=$(config "$name" "$prefix" "$net.1" keep | e2e_layout lifecycle-keep)
with_prefix "$run" "$prefix"
runs+=("$run")
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
e2e_probe "$run" "$run/before.out"
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
e2e_probe "$run"
cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "keep: the second run changed the spooler"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$net.1" "${prefix}ENG")"
e2e_expect_no_text "$run/probe.out" "$name(2)"
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "box: OK: $name is already installed."
e2e_expect_count "$run/log.txt" "result: 0 installed" 2

# Update: a new DATA value and a changed GPD file.
name="E2E Update $tag"
prefix="U${tag}"
run=$(config "$name" "$prefix" "$net.2" update '[DATA]\nDarkness=8\n' | e2e_layout lifecycle-update)
with_prefix "$run" "$prefix"
runs+=("$run")
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
# The printer's user sets landscape 60x40 mm labels as its printing defaults.
probe_verb "$run" set-devmode set-devmode "$name" 2 600 400
probe_verb "$run" devmode-set devmode "$name"
# orientation, width and length of the probe's line (dmFields, orientation, size, width, length, ...)
devmode_fields() { awk -F'\t' '{ print $2, $4, $5 }' "$1"; }
e2e_expect_eq "devmode set" "$(devmode_fields "$run/devmode-set.out")" "2 600 400"
config "$name" "$prefix" "$net.2" update '[DATA]\nDarkness=12\n' | sed 's/$/\r/' >"$run/config.ini"
echo "*% revised $tag" >>"$run/SETUP/ENG/${prefix}ENG.GPD"
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$net.2" "${prefix}ENG")"
e2e_expect_no_text "$run/probe.out" "$name(2)"
e2e_expect_text "$run/probe.out" "$(printf 'data\t%s\tDarkness\t12' "$name")"
e2e_expect_marker "$run" "$name" "${prefix}ENG" "$net.2"
# To another address: the old port goes with nothing left on it.
config "$name" "$prefix" "$net.4" update '[DATA]\nDarkness=12\n' | sed 's/$/\r/' >"$run/config.ini"
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$net.4" "${prefix}ENG")"
e2e_expect_no_text "$run/probe.out" "$(printf 'port\t%s\t' "$net.2")"
e2e_expect_marker "$run" "$name" "${prefix}ENG" "$net.4"
e2e_expect_line "$run/marker.out" "$(printf 'Ports\tREG_MULTI_SZ\t%s' "$net.4")"
gpd="$WINEPREFIX/drive_c/windows/system32/spool/drivers/w32x86/3/${prefix}ENG.GPD"
grep -q "revised $tag" "$gpd" 2>/dev/null || e2e_fail "update: the new GPD is not in the driver directory"
probe_verb "$run" devmode-updated devmode "$name"
e2e_expect_eq "devmode after the update" "$(devmode_fields "$run/devmode-updated.out")" "2 600 400"

# Two installs and a printer of another driver on the same port, then uninstall.
name="E2E Remove $tag"
prefix="R${tag}"
other="E2E Remove Other $tag"
run=$(config "$name" "$prefix" "$net.3" new | e2e_layout lifecycle-remove)
with_prefix "$run" "$prefix"
otherrun=$(config "$other" "O${tag}" "$net.3" new | e2e_layout lifecycle-other)
with_prefix "$otherrun" "O${tag}"
runs+=("$run" "$otherrun")
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
quiet_run "$otherrun" /quiet /log "$(e2e_winpath "$otherrun/install.log")"
e2e_probe "$run" "$run/installed.out"
e2e_expect_line "$run/installed.out" "$(e2e_printer_line "$name(2)" "$net.3" "${prefix}ENG")"
e2e_expect_marker "$run" "$name" "${prefix}ENG" "$net.3"
e2e_expect_marker "$run" "$name(2)" "${prefix}ENG" "$net.3"
e2e_expect_marker "$otherrun" "$other" "O${tag}ENG" "$net.3"
# Interactive: the box lists what goes; No changes nothing (1602), Yes removes it.
e2e_start "$run" /uninstall
e2e_drive "$run" "msgbox PrinterSetup" "answer no" gone >"$run/no.out"
e2e_finish "$run"
e2e_expect_exit "$run" 1602
e2e_probe "$run"
cmp -s "$run/installed.out" "$run/probe.out" || e2e_fail "uninstall: No changed the spooler"
e2e_expect_line "$run/no.out" 'box text: Remove these from this computer?\r\n\r\nPrinter: '"$name"'\r\nPrinter: '"$name(2)"'\r\nDriver: '"${prefix}ENG"' (Windows NT x86)\r\n'
e2e_start "$run" /uninstall
e2e_drive "$run" "msgbox PrinterSetup" "answer yes" "msgbox PrinterSetup" "answer ok" gone >"$run/yes.out"
e2e_finish "$run"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "$(printf 'printer\t%s\t' "$name")"
e2e_expect_no_text "$run/probe.out" "$(printf 'printer\t%s(2)\t' "$name")"
e2e_expect_no_text "$run/probe.out" "$(printf 'driver\t%sENG\t' "$prefix")"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$other" "$net.3" "O${tag}ENG")"
e2e_expect_text "$run/probe.out" "$(printf 'port\t%s\t' "$net.3")"
e2e_expect_no_marker "$run" "$name"
e2e_expect_no_marker "$run" "$name(2)"
e2e_expect_marker "$otherrun" "$other" "O${tag}ENG" "$net.3"
# Again, quiet: nothing to remove, and that is no failure.
quiet_run "$run" /x /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "box: PrinterSetup: Nothing to remove: no printer of this configuration is installed."
[ "$(tail -n 1 "$run/log.txt")" = "result: 0 removed" ] || e2e_fail "second uninstall: $(tail -n 1 "$run/log.txt")"
# The other printer's own uninstall takes its port too, now that nothing else uses it.
quiet_run "$otherrun" /uninstall /quiet /log "$(e2e_winpath "$otherrun/install.log")"
e2e_expect_exit "$otherrun" 0
e2e_probe "$otherrun"
e2e_expect_no_text "$otherrun/probe.out" "$(printf 'port\t%s\t' "$net.3")"
e2e_expect_no_text "$otherrun/probe.out" "$(printf 'printer\t%s\t' "$other")"
e2e_expect_no_marker "$otherrun" "$other"

# DeletePort refused once: the next uninstall takes the port.
pending_has() {  # <dir> <port>: PendingPorts names the port
  e2e_reg_values 'SOFTWARE\PrinterSetup' "$1/root.out"
  awk -F'\t' '$1 == "PendingPorts" { print $3 }' "$1/root.out" | sed 's/\\0/\n/g' | grep -qxF -- "$2"
}
name="E2E Retry $tag"
prefix="T${tag}"
run=$(config "$name" "$prefix" "$net.5" new | e2e_layout lifecycle-retry)
with_prefix "$run" "$prefix"
runs+=("$run")
quiet_run "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
e2e_expect_marker "$run" "$name" "${prefix}ENG" "$net.5"
e2e_expect_line "$run/marker.out" "$(printf 'Ports\tREG_MULTI_SZ\t%s' "$net.5")"
e2e_wine /dev/null /dev/null reg add 'HKLM\System\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port' \
  /v RefuseDeletePort /t REG_SZ /d "$net.5" /f || e2e_fail "the refusal could not be set"
quiet_run "$run" /uninstall /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 1603
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "$(printf 'printer\t%s\t' "$name")"
e2e_expect_text "$run/probe.out" "$(printf 'port\t%s\t' "$net.5")"
e2e_expect_no_marker "$run" "$name"
pending_has "$run" "$net.5" || e2e_fail "PendingPorts does not name $net.5: $(cat "$run/root.out")"
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "box: ERROR: DeletePort Failed: $net.5 - ERROR CODE: 5"
quiet_run "$run" /uninstall /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "$(printf 'port\t%s\t' "$net.5")"
! pending_has "$run" "$net.5" || e2e_fail "PendingPorts still names $net.5"
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "Tollinder - Uninstall Plan: 0 Printers, 1 Ports, 0 Drivers"
e2e_expect_line "$run/log.txt" "Tollinder - Removed port $net.5"

e2e_done "${runs[@]}"
