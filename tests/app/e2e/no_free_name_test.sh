#!/usr/bin/env bash
# With PrnName and PrnName(2) ... PrnName(254) all taken there is no name left: the run fails
# with 1603 and "No free printer name: ..." before it stages the driver, and the printer that
# holds PrnName(254) keeps its port, driver and data (Wine's AddPrinter would overwrite it).
# The first printer comes from a real install (it also makes the port and the driver); the
# other 253 from e2e_printers, which adds them in one process.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1
: "${E2E_PRINTERS:?}"

tag=$(e2e_tag)
name="E2E Full $tag"
address="10.77.$((RANDOM % 250)).$((RANDOM % 200 + 1))"
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
runs=()

run=$(e2e_config "$name" ETH "$address" | e2e_layout no-free-first)
runs+=("$run")
e2e_start "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_finish "$run"
e2e_expect_exit "$run" 0

started=$(date +%s.%N)
e2e_wine "$run/printers.out" "$run/printers.err" "$E2E_PRINTERS" add "$name" 2 254 "$address" LBLENG ||
  e2e_fail "e2e_printers: $(tr -d '\r' <"$run/printers.out")"
echo "e2e_printers added 253 printers in $(echo "$(date +%s.%N) - $started" | bc) s"

# Every name is taken now; this run also carries a DATA value an overwrite would leave behind.
run=$(e2e_config "$name" ETH "$address" '[DATA]\nMarker=overwritten\n' | e2e_layout no-free-full)
runs+=("$run")
e2e_probe "$run" "$run/before.out"
e2e_expect_line "$run/before.out" "$(e2e_printer_line "$name(254)" "$address" LBLENG)"
e2e_start "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_finish "$run"
e2e_probe "$run"
e2e_expect_exit "$run" 1603
cmp -s "$run/before.out" "$run/probe.out" ||
  e2e_fail "the spooler changed: $(diff "$run/before.out" "$run/probe.out" | head -5 | tr '\n' ' ')"
e2e_expect_no_text "$run/probe.out" "Marker"
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" \
  "box: ERROR: No free printer name: $name to $name(254) are all taken. - ERROR CODE: 1802"
e2e_expect_line "$run/log.txt" "result: 1603 failed"
# The name is chosen first: no driver file was copied.
e2e_expect_no_text "$run/log.txt" "Tollinder - Copy "

# Leave the prefix as lean as it was for the tests after this one.
e2e_wine "$run/removed.out" "$run/removed.err" "$E2E_PRINTERS" remove "$name" 1 254 ||
  e2e_fail "e2e_printers remove: $(tr -d '\r' <"$run/removed.out")"
e2e_done "${runs[@]}"
