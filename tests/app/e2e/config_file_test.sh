#!/usr/bin/env bash
# The configuration file's own faults name the file, and a log never lands in it:
# - /config naming a folder, or the device NUL, and a config.ini that is itself a folder: 1603,
#   "Cannot Read Config File: <full path>" with the error, the spooler unchanged; so is one
#   another process holds locked (ERROR_SHARING_VIOLATION);
# - /log naming config.ini (in other letters) or the exe itself: 1639, both unchanged;
# - a relative /log lands in the exe's folder, as a relative /config is read from there, whatever
#   the current folder.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1
: "${E2E_HOLDER:?}"

tag=$(e2e_tag)
net="10.88.$((RANDOM % 250))"
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
runs=()

# case | what /config names ("" for none) | the file the message names | the code
cases=(
  "folder|settings|settings|336"
  "device|NUL|NUL|50"
  "default|||336"
)
n=0
for entry in "${cases[@]}"; do
  IFS='|' read -r label config named code <<<"$entry"
  n=$((n + 1))
  run=$(e2e_config "E2E CfgFile $label $tag" ETH "$net.$n" | e2e_layout "config-file-$label")
  runs+=("$run")
  mkdir -p "$run/settings"
  if [ -z "$config" ]; then
    rm "$run/config.ini"
    mkdir "$run/config.ini"
    named=config.ini
  fi
  e2e_probe "$run" "$run/before.out"
  if [ -n "$config" ]; then
    e2e_start "$run" /quiet /config "$config" /log "$(e2e_winpath "$run/install.log")"
  else
    e2e_start "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
  fi
  e2e_finish "$run"
  e2e_probe "$run"
  e2e_expect_exit "$run" 1603
  cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "$label: the spooler changed"
  log_of "$run" >"$run/log.txt"
  e2e_expect_line "$run/log.txt" "box: ERROR: Cannot Read Config File: $(e2e_winpath "$run")\\$named - ERROR CODE: $code"
  e2e_expect_no_text "$run/log.txt" "PrnName is empty"
done

# A configuration another process holds locked.
run=$(e2e_config "E2E CfgFile locked $tag" ETH "$net.8" | e2e_layout config-file-locked)
runs+=("$run")
rm -f "$run/ready" "$run/stop"
(wine "$E2E_HOLDER" "$(e2e_winpath "$run/config.ini")" "$(e2e_winpath "$run")\\ready" "$(e2e_winpath "$run")\\stop" file \
  >"$run/holder.out" 2>"$run/holder.err" </dev/null) &
holder=$!
for _ in $(seq 300); do [ -s "$run/ready" ] && break; sleep 0.1; done
[ -s "$run/ready" ] || e2e_fail "locked: the holder never held config.ini: $(cat "$run/holder.out")"
e2e_probe "$run" "$run/before.out"
e2e_start "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
e2e_finish "$run"
touch "$run/stop"
wait "$holder"
e2e_probe "$run"
e2e_expect_exit "$run" 1603
cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "locked: the spooler changed"
log_of "$run" >"$run/log.txt"
e2e_expect_line "$run/log.txt" "box: ERROR: Cannot Read Config File: $(e2e_winpath "$run")\\config.ini - ERROR CODE: 32"

# A log into the configuration file or over the exe: refused before a line is written.
for target in config exe; do
  run=$(e2e_config "E2E CfgLog $target $tag" ETH "$net.9" | e2e_layout "config-log-$target")
  runs+=("$run")
  cp "$run/config.ini" "$run/config.before"
  cp "$run/$(cat "$run/.exe")" "$run/exe.before"
  e2e_probe "$run" "$run/before.out"
  if [ "$target" = config ]; then
    e2e_start "$run" /quiet /log "$(e2e_winpath "$run")\\CONFIG.INI"
  else
    e2e_start "$run" /quiet /log "$(e2e_winpath "$run")\\$(cat "$run/.exe")"
  fi
  e2e_finish "$run"
  e2e_probe "$run"
  e2e_expect_exit "$run" 1639
  cmp -s "$run/config.before" "$run/config.ini" || e2e_fail "$target: config.ini changed"
  cmp -s "$run/exe.before" "$run/$(cat "$run/.exe")" || e2e_fail "$target: the exe changed"
  cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "$target: the spooler changed"
done

name="E2E CfgRel $tag"
run=$(e2e_config "E2E CfgRel unused $tag" ETH "$net.10" | e2e_layout config-relative)
runs+=("$run")
e2e_config "$name" ETH "$net.11" | sed 's/$/\r/' >"$run/other.ini"
mkdir -p "$run/elsewhere"
E2E_LAUNCH_DIR=$run/elsewhere e2e_start "$run" /quiet /config other.ini /log rel.log
e2e_finish "$run"
e2e_expect_exit "$run" 0
[ -f "$run/rel.log" ] || e2e_fail "no rel.log beside the exe"
[ ! -e "$run/elsewhere/rel.log" ] || e2e_fail "rel.log landed in the current folder"
[ -f "$run/rel.log" ] && e2e_expect_text "$run/rel.log" "box: OK: Add Printer Successful - $name"
e2e_done "${runs[@]}"
