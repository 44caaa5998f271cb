#!/usr/bin/env bash
# One folder for many PCs, through the real exe, quiet:
# - /showconfig names this PC (learnt the way the exe learns it) and every value's source;
# - a target by computer name installs its printer with its address and data, the first
#   matching target winning;
# - a target by the PC's own address range (when the prefix has an IPv4 address);
# - no target matches: 1603 and nothing changed; NoTargetMatched=Skip: 0 and nothing changed;
# - PrnName= and IPAddress= on the command line beat the target.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
net="10.35.$((RANDOM % 250))"
runs=()
quiet_run() {  # <dir> [arguments...]
  local dir=$1
  shift
  e2e_start "$dir" /quiet /log "$(e2e_winpath "$dir/install.log")" "$@"
  e2e_finish "$dir"
}
# show <dir> [arguments...]: /showconfig's standard output in $dir/show.out, its exit in SHOW_EXIT.
show() {
  local dir=$1 exe
  shift
  exe=$(cat "$dir/.exe")
  (cd "$dir" && wine "$(e2e_winpath "$dir/$exe")" /showconfig "$@" >"$dir/show.out" 2>/dev/null </dev/null)
  SHOW_EXIT=$?
  sed -i 's/\r$//' "$dir/show.out"
}
base() {  # <name> <address>
  printf '[ARGS]\nCaption=%s\nPrnName=%s\nPrefix=LBL\nDefaultLanguage=ENG\nDefaultPorttype=ETH\nIPAddress=%s\nIfExists=new\n' \
    "$1" "$1" "$2"
}

# Who this PC is, as the exe sees it.
run=$(base "E2E Who $tag" "$net.1" | e2e_layout targets-who)
runs+=("$run")
show "$run"
e2e_expect_eq "showconfig exit" "$SHOW_EXIT" 0
pcname=$(sed -n 's/^this PC: name \([^;]*\);.*/\1/p' "$run/show.out")
address=$(sed -n 's/^this PC: .*; addresses \([0-9.]*\).*/\1/p' "$run/show.out")
[ -n "$pcname" ] || e2e_fail "showconfig named no computer: $(head -1 "$run/show.out")"
e2e_expect_line "$run/show.out" "target: none in the file"
e2e_expect_line "$run/show.out" "value: PrnName=E2E Who $tag (config.ini)"

# By computer name: the first target that matches wins.
name="E2E Target $tag"
run=$( (base "$name" "$net.1"
  printf '[DATA]\nDarkness=8\n'
  printf '[TARGET.Elsewhere]\nComputerName=NOWHERE-*\nIPAddress=%s.9\n' "$net"
  printf '[TARGET.Here]\nComputerName=%s*\nIPAddress=%s.2\nData.Darkness=12\n' "${pcname:0:2}" "$net"
  printf '[TARGET.Later]\nComputerName=*\nIPAddress=%s.3\n' "$net") | e2e_layout targets-name)
runs+=("$run")
show "$run" "Data.Speed=4"
e2e_expect_line "$run/show.out" "target: TARGET.Here"
e2e_expect_line "$run/show.out" "value: IPAddress=$net.2 (TARGET.Here)"
e2e_expect_line "$run/show.out" "value: Data.Darkness=12 (TARGET.Here)"
e2e_expect_line "$run/show.out" "value: Data.Speed=4 (command line)"
e2e_expect_line "$run/show.out" "value: PrnName=$name (config.ini)"
quiet_run "$run"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$net.2" "LBLENG")"
e2e_expect_text "$run/probe.out" "$(printf 'data\t%s\tDarkness\t12' "$name")"
tr -d '\r' <"$run/install.log" | grep -q "Target TARGET.Here" || e2e_fail "the log does not name the target"

# The command line beats the target.
quiet_run "$run" "PrnName=$name CL" "IPAddress=$net.4"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name CL" "$net.4" "LBLENG")"

# By this PC's own address.
if [ -n "$address" ]; then
  run=$( (base "E2E Range $tag" "$net.1"
    printf '[TARGET.Site]\nIPRange=%s/32\nIPAddress=%s.5\n' "$address" "$net") | e2e_layout targets-range)
  runs+=("$run")
  quiet_run "$run"
  e2e_expect_exit "$run" 0
  e2e_probe "$run"
  e2e_expect_line "$run/probe.out" "$(e2e_printer_line "E2E Range $tag" "$net.5" "LBLENG")"
else
  echo "note: the prefix has no IPv4 address; the range target is checked natively only"
fi

# No target for this PC: Fail, then Skip; nothing changed either way.
name="E2E Nowhere $tag"
run=$( (base "$name" "$net.6"; printf '[TARGET.Elsewhere]\nComputerName=NOWHERE-*\n') | e2e_layout targets-none)
runs+=("$run")
e2e_probe "$run" "$run/before.out"
quiet_run "$run"
e2e_expect_exit "$run" 1603
tr -d '\r' <"$run/install.log" | grep -q "No target in config.ini matches this PC (name $pcname" ||
  e2e_fail "no-match: the log lacks the message"
(base "$name" "$net.6"; printf 'NoTargetMatched=Skip\n[TARGET.Elsewhere]\nComputerName=NOWHERE-*\n') |
  sed 's/$/\r/' >"$run/config.ini"
quiet_run "$run"
e2e_expect_exit "$run" 0
e2e_probe "$run"
cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "no-match: the spooler changed"

e2e_done "${runs[@]}"
