#!/usr/bin/env bash
# The launcher's --invisible-station: a probe started plainly sits in the visible WinSta0 (exit
# code 0); started with the option it sits in a station of its own that is not visible (exit 1).
# Also --time, which scripts/bench reads.
#   station_test.sh <e2e_env.sh> <e2e_station_probe.exe>
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
probe=$2
e2e_setup || exit 1

dir=$E2E_WORK_DIR/station-$(e2e_tag)
mkdir -p "$dir"

# run <name> [launcher options...]: the probe under the launcher; its lines in $dir/<name>.out.
run() {
  local name=$1
  shift
  e2e_wine "$dir/$name.out" "$dir/$name.err" "$E2E_LAUNCHER" --timeout 60 "$@" "$(e2e_winpath "$probe")"
  echo $? >"$dir/$name.rc"
  sed -i 's/\r$//' "$dir/$name.out"
  echo "--- $name"
  cat "$dir/$name.out"
}

run visible
e2e_expect_eq "launcher exit code (visible)" "$(cat "$dir/visible.rc")" 0
e2e_expect_line_start "$dir/visible.out" "started: "
e2e_expect_line_start "$dir/visible.out" "station: WinSta0\\"
e2e_expect_line "$dir/visible.out" "exit code: 0"

run invisible --invisible-station
e2e_expect_eq "launcher exit code (invisible)" "$(cat "$dir/invisible.rc")" 0
e2e_expect_line_start "$dir/invisible.out" "started: "
e2e_expect_line_start "$dir/invisible.out" 'station: E2EInvisible'
e2e_expect_text "$dir/invisible.out" ' invisible'
e2e_expect_line "$dir/invisible.out" "exit code: 1"

# The options combine in any order; --time adds the elapsed line.
run both --invisible-station --time --timeout 60
e2e_expect_line_start "$dir/both.out" "station: E2EInvisible"
e2e_expect_line_start "$dir/both.out" "elapsed: "
e2e_expect_line "$dir/both.out" "exit code: 1"
e2e_expect_no_text "$dir/visible.out" "elapsed"

if [ "$E2E_FAILURES" -gt 0 ]; then
  for f in "$dir"/*.err; do echo "--- $(basename "$f")"; head -20 "$f"; done
fi
e2e_done
