#!/usr/bin/env bash
# Printing defaults through the real exe, quiet, with the test package's printer interface DLL
# (custom sizes from 10.0 to 300.0 mm):
# - [DEVMODE] 60 x 40 mm landscape: the queue's global DEVMODE holds them;
# - a width past the driver's range: 1603 and the message naming both values;
# - /savedefaults from that printer and File= onto a new one: the same public fields;
# - the defaults changed by hand: /verify 1 naming them, Repair restores them.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
net="10.37.$((RANDOM % 250))"
runs=()
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
quiet_run() {  # <dir> [arguments...]
  local dir=$1
  shift
  rm -f "$dir/install.log"
  e2e_start "$dir" /quiet /log "$(e2e_winpath "$dir/install.log")" "$@"
  e2e_finish "$dir"
  log_of "$dir" >"$dir/log.txt"
}
# devmode <dir> <printer>: orientation, paper size, width and length the queue holds.
devmode() {
  e2e_wine "$1/devmode.out" "$1/devmode.err" "$E2E_PROBE" devmode "$2"
  tr -d '\r' <"$1/devmode.out" | awk -F'\t' '{ print $2, $3, $4, $5 }'
}
config() {  # <name> <address> <IfExists> [more lines]
  printf '[ARGS]\nCaption=%s\nPrnName=%s\nPrefix=LBL\nDefaultLanguage=ENG\nDefaultPorttype=ETH\nIPAddress=%s\nIfExists=%s\n%b' \
    "$1" "$1" "$2" "$3" "${4:-}"
}

name="E2E Defaults $tag"
run=$(config "$name" "$net.1" repair '[DEVMODE]\nPaperWidth=60\nPaperLength=40\nOrientation=Landscape\n' | e2e_layout defaults-set)
runs+=("$run")
quiet_run "$run"
e2e_expect_exit "$run" 0
e2e_expect_eq "defaults stored" "$(devmode "$run" "$name")" "2 0 600 400"
e2e_expect_line "$run/log.txt" "Tollinder - Default PaperWidth 60.0 mm -> 60.0 mm"

# /savedefaults, then File= on another printer.
quiet_run "$run" /savedefaults label.psdm
e2e_expect_exit "$run" 0
[ -s "$run/label.psdm" ] || e2e_fail "savedefaults wrote no file"
other="E2E Defaults File $tag"
filerun=$(config "$other" "$net.2" new '[DEVMODE]\nFile=label.psdm\n' | e2e_layout defaults-file)
runs+=("$filerun")
cp "$run/label.psdm" "$filerun/"
quiet_run "$filerun"
e2e_expect_exit "$filerun" 0
e2e_expect_eq "defaults from the file" "$(devmode "$filerun" "$other")" "2 0 600 400"

# Changed by hand: /verify names them, Repair puts them back.
e2e_wine /dev/null /dev/null "$E2E_PROBE" set-devmode "$name" 1 1000 1500
rm -f "$run/install.log"
e2e_start "$run" /verify /log "$(e2e_winpath "$run/install.log")"
e2e_finish "$run"
e2e_expect_exit "$run" 1
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" 'verify: differs default PaperWidth: wanted "60.0 mm", found "100.0 mm"'
e2e_expect_line "$run/log.txt" 'verify: differs default Orientation: wanted "Landscape", found "Portrait"'
quiet_run "$run"
e2e_expect_exit "$run" 0
e2e_expect_eq "defaults after repair" "$(devmode "$run" "$name")" "2 0 600 400"

# Past the driver's range.
wide="E2E Defaults Wide $tag"
widerun=$(config "$wide" "$net.3" new '[DEVMODE]\nPaperWidth=400\nPaperLength=40\n' | e2e_layout defaults-wide)
runs+=("$widerun")
quiet_run "$widerun"
e2e_expect_exit "$widerun" 1603
e2e_expect_text "$widerun/log.txt" "Printing defaults not accepted: PaperWidth 400.0 mm wanted, the driver keeps 210.0 mm"

e2e_done "${runs[@]}"
