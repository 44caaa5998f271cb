#!/usr/bin/env bash
# /verify and IfExists=Repair through the real exe, quiet:
# - a fresh install verifies (exit 0, the one output line, "result: 0 compliant");
# - a DATA value changed in the spooler's registry, then a driver file overwritten in the
#   driver directory: /verify exits 1 and names each;
# - Repair brings both back under the printer's own name, and /verify is 0 again;
# - a printer without its data (what a run stopped before its data leaves): Keep reports it
#   installed and changes nothing, Repair completes it.
# /verify is started by wine directly, so that its standard output reaches a file (the launcher
# gives its child none); its codes 0 and 1 survive wine's 8-bit exit status.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
net="10.34.$((RANDOM % 250))"
runs=()
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
quiet_run() {  # <dir> [arguments...]
  local dir=$1
  shift
  e2e_start "$dir" /quiet /log "$(e2e_winpath "$dir/install.log")" "$@"
  e2e_finish "$dir"
}
# verify <dir>: sets VERIFY_EXIT; the output line in $dir/verify.out, the log's lines in $dir/log.txt.
verify() {
  local dir=$1 exe
  exe=$(cat "$dir/.exe")
  rm -f "$dir/install.log"
  (cd "$dir" && wine "$(e2e_winpath "$dir/$exe")" /verify /log "$(e2e_winpath "$dir/install.log")" \
    >"$dir/verify.out" 2>/dev/null </dev/null)
  VERIFY_EXIT=$?
  sed -i 's/\r$//' "$dir/verify.out"
  log_of "$dir" >"$dir/log.txt"
}
config() {  # <name> <prefix> <address> <IfExists> [more lines]
  printf '[ARGS]\nCaption=%s\nPrnName=%s\nPrefix=%s\nDefaultLanguage=ENG\nDefaultPorttype=ETH\nIPAddress=%s\nIfExists=%s\n%b' \
    "$1" "$1" "$2" "$3" "$4" "${5:-}"
}
with_prefix() {
  local file
  for file in "$1"/SETUP/*/LBL* "$1"/SETUP64/*/LBL*; do
    mv "$file" "$(dirname "$file")/$2${file##*/LBL}"
  done
}
data_key() { echo "HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$1\\PrinterDriverData"; }

name="E2E Verify $tag"
prefix="V${tag}"
run=$(config "$name" "$prefix" "$net.1" repair '[DATA]\nDarkness=8\nSpeed=4\n' | e2e_layout verify-repair)
with_prefix "$run" "$prefix"
runs+=("$run")
quiet_run "$run"
e2e_expect_exit "$run" 0
verify "$run"
e2e_expect_eq "verify after install" "$VERIFY_EXIT" 0
e2e_expect_eq "verify output" "$(cat "$run/verify.out")" "compliant: $name"
e2e_expect_line "$run/log.txt" "verify: ok printer $name"
e2e_expect_line "$run/log.txt" "verify: ok file ${prefix}ENG.GPD"
e2e_expect_line "$run/log.txt" "verify: ok port $net.1"
e2e_expect_line "$run/log.txt" "verify: ok data Darkness"
[ "$(tail -n 1 "$run/log.txt")" = "result: 0 compliant" ] || e2e_fail "verify: last line $(tail -n 1 "$run/log.txt")"

# A value changed by hand.
e2e_wine /dev/null /dev/null reg add "$(data_key "$name")" /v Darkness /t REG_SZ /d 9 /f
verify "$run"
e2e_expect_eq "verify after a changed value" "$VERIFY_EXIT" 1
e2e_expect_eq "verify output" "$(cat "$run/verify.out")" "not compliant: data Darkness: wanted \"8\", found \"9\""
e2e_expect_line "$run/log.txt" "verify: differs data Darkness: wanted \"8\", found \"9\""
[ "$(tail -n 1 "$run/log.txt")" = "result: 1 not compliant" ] || e2e_fail "verify: last line $(tail -n 1 "$run/log.txt")"

# A driver file overwritten.
gpd="$WINEPREFIX/drive_c/windows/system32/spool/drivers/w32x86/3/${prefix}ENG.GPD"
echo "*% tampered" >>"$gpd"
verify "$run"
e2e_expect_eq "verify after a changed file" "$VERIFY_EXIT" 1
e2e_expect_text "$run/log.txt" "verify: differs file ${prefix}ENG.GPD: wanted"

# Repair: both back, the same printer.
quiet_run "$run"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "$name(2)"
verify "$run"
e2e_expect_eq "verify after repair" "$VERIFY_EXIT" 0
grep -q "tampered" "$gpd" && e2e_fail "repair: the driver file is still the tampered one"

# A printer without its data: Keep keeps it, Repair completes it.
name="E2E Half $tag"
prefix="H${tag}"
run=$(config "$name" "$prefix" "$net.2" new | e2e_layout verify-half)
with_prefix "$run" "$prefix"
runs+=("$run")
quiet_run "$run"
e2e_expect_exit "$run" 0
config "$name" "$prefix" "$net.2" keep '[DATA]\nDarkness=8\n' | sed 's/$/\r/' >"$run/config.ini"
e2e_probe "$run" "$run/before.out"
quiet_run "$run"
e2e_expect_exit "$run" 0
e2e_probe "$run"
cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "keep: the run changed the spooler"
verify "$run"
e2e_expect_eq "verify of the half-made printer" "$VERIFY_EXIT" 1
e2e_expect_line "$run/log.txt" "verify: missing data Darkness"
config "$name" "$prefix" "$net.2" repair '[DATA]\nDarkness=8\n' | sed 's/$/\r/' >"$run/config.ini"
rm -f "$run/install.log"
quiet_run "$run"
e2e_expect_exit "$run" 0
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "box: OK: Add Printer Successful - $name"
verify "$run"
e2e_expect_eq "verify after completing it" "$VERIFY_EXIT" 0

e2e_done "${runs[@]}"
