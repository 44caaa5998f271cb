#!/usr/bin/env bash
# Every DATA value reaches the printer, or the run refuses before it changes anything:
# - 5,001 entries, more than the reader's 32,768-unit buffer holds: refused naming the limit,
#   1603, no port, driver or printer made;
# - a value name of 260 characters: refused the same way;
# - the same run with 500 entries (well inside the buffer) installs every one of them.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
net="10.66.$((RANDOM % 250))"
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
data_lines() {  # <count>: "Knnnn=value" lines
  local i
  for ((i = 0; i < $1; ++i)); do printf 'K%04d=value%d\\n' "$i" "$i"; done
}
runs=()

# case | DATA lines | the log's box line
long=$(printf 'N%.0s' $(seq 260))
cases=(
  "many|$(data_lines 5001)|box: ERROR: config.ini: the [DATA] section is too long (at most 32765 characters). - ERROR CODE: 206"
  "name|A=1\\n$long=2\\n|box: ERROR: config.ini: a name in [DATA] is too long (at most 259 characters). - ERROR CODE: 206"
)
n=0
for entry in "${cases[@]}"; do
  IFS='|' read -r label lines box <<<"$entry"
  n=$((n + 1))
  run=$(e2e_config "E2E Data $label $tag" ETH "$net.$n" "[DATA]\\n$lines" | e2e_layout "data-$label")
  runs+=("$run")
  e2e_probe "$run" "$run/before.out"
  e2e_start "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
  e2e_finish "$run"
  e2e_probe "$run"
  e2e_expect_exit "$run" 1603
  cmp -s "$run/before.out" "$run/probe.out" ||
    e2e_fail "$label: the spooler changed: $(diff "$run/before.out" "$run/probe.out" | head -5 | tr '\n' ' ')"
  log_of "$run" >"$run/log.txt"
  e2e_expect_line "$run/log.txt" "$box"
  e2e_expect_line "$run/log.txt" "result: 1603 failed"
done

# Inside the buffer: every value is there.
name="E2E Data fits $tag"
run=$(e2e_config "$name" ETH "$net.9" "[DATA]\\n$(data_lines 500)" | e2e_layout data-fits)
runs+=("$run")
e2e_start "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_finish "$run"
e2e_probe "$run"
e2e_expect_exit "$run" 0
e2e_expect_count "$run/probe.out" "$(printf 'data\t%s\tK' "$name")" 500
e2e_expect_line "$run/probe.out" "$(printf 'data\t%s\tK0499\tvalue499' "$name")"
e2e_done "${runs[@]}"
