#!/usr/bin/env bash
# A process holding an event under the lock's old global name cannot void the lock: with it
# there, a second install run while a first one waits on its first page exits 1618 and changes
# nothing. (Where private namespaces work the first run takes its lock there and waits; where
# they do not, Wine among them, the lock under the global name cannot be had, so the first run
# exits 1618 as well: neither installs unguarded.) With the squatter gone, an install runs.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1
: "${E2E_HOLDER:?}"

tag=$(e2e_tag)
net="10.99.$((RANDOM % 250))"
log_of() { tr -d '\r' <"$1/install.log" | sed 's/^[0-9-]* [0-9:.]* //'; }
wait_for() {  # <seconds> <command...>: true once the command is, false at the limit
  local limit=$(($1 * 10))
  shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}
runs=()

hold=$E2E_WORK_DIR/lock-holder
rm -rf "$hold"
mkdir -p "$hold"
(wine "$E2E_HOLDER" 'Global\PrinterSetup.Install' "$(e2e_winpath "$hold")\\ready" "$(e2e_winpath "$hold")\\stop" \
  >"$hold/out" 2>"$hold/err" </dev/null) &
holder=$!
wait_for 30 test -s "$hold/ready" || e2e_fail "the holder never held the name: $(cat "$hold/out")"

first="E2E Lock First $tag"
a=$(e2e_config "$first" ETH "$net.1" | e2e_layout lock-first)
runs+=("$a")
b=$(e2e_config "E2E Lock Second $tag" ETH "$net.2" | e2e_layout lock-second)
runs+=("$b")
e2e_probe "$b" "$b/before.out"
e2e_start "$a"
# The first run either took its lock (and says so) or shows why it did not.
wait_for 30 grep -qE 'Install lock|MSGBOX_OnInit' "$a/wizard.log" ||
  e2e_fail "the first run neither took the lock nor said why not"
e2e_start "$b" /quiet /log "$(e2e_winpath "$b/install.log")"
e2e_finish "$b"
e2e_expect_exit "$b" 1618
if grep -q 'Install lock' "$a/wizard.log"; then
  e2e_drive "$a" "window $first" close gone >/dev/null
  e2e_finish "$a"
  e2e_expect_exit "$a" 1602
else
  e2e_drive "$a" "msgbox PrinterSetup" "answer ok" >/dev/null
  e2e_finish "$a"
  e2e_expect_exit "$a" 1618
  e2e_expect_text "$a/drive.out" "Nothing was changed."
fi
e2e_probe "$b"
cmp -s "$b/before.out" "$b/probe.out" || e2e_fail "the spooler changed"
log_of "$b" >"$b/log.txt"
e2e_expect_line_start "$b/log.txt" "box: PrinterSetup: "
e2e_expect_text "$b/log.txt" "Nothing was changed."
e2e_expect_line "$b/log.txt" "result: 1618 already running"

touch "$hold/stop"
wait "$holder"
name="E2E Lock Free $tag"
c=$(e2e_config "$name" ETH "$net.3" | e2e_layout lock-free)
runs+=("$c")
e2e_start "$c" /quiet /log "$(e2e_winpath "$c/install.log")"
e2e_finish "$c"
e2e_expect_exit "$c" 0
e2e_probe "$c"
e2e_expect_line "$c/probe.out" "$(e2e_printer_line "$name" "$net.3" LBLENG)"
e2e_done "${runs[@]}"
