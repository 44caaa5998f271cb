# Shell functions for end-to-end runs of the wizard under Wine (source this file).
#
# Paths come from variables (e2e_env.sh in the build tree sets them all):
#   E2E_WIZARD     the wizard exe           E2E_LAUNCHER, E2E_DRIVER   the harness exes
#   E2E_PROBE      spoolprobe.exe           E2E_TCPIP_MONITOR_DLL      the Standard TCP/IP stand-in
#   E2E_FIXTURE_DEMO  the installer folder without exe and config.ini (package, monitor tools, UTILS)
#   E2E_WORK_DIR   where run folders go      E2E_PREFIX   the Wine prefix (default: see e2e_setup)
#   E2E_VERSION    the version the build gives the wizard
#
# A run:
#   e2e_setup                      prefix, display, stand-in monitors (made once, then shared)
#   run=$(e2e_layout name <<'EOF'  a throwaway copy of the shipped folder with this config.ini
#   [ARGS] ...
#   EOF
#   )
#   e2e_start "$run"               the wizard in the background, its Wine log in $run/wizard.log
#   e2e_drive "$run" "window Caption" "click main IDC_NEXT" box ...   (output also in $run/drive.out)
#   e2e_finish "$run"              waits; E2E_EXIT = the wizard's full exit code
#   e2e_probe "$run"               the spooler's printers, ports, drivers, data in $run/probe.out
# Checks record failures and go on; e2e_done prints them and exits 1 if any.
# Wine's helper processes outlive a command and keep its output open, so every Wine command here
# writes to files, never to a pipe.

E2E_FAILURES=0

e2e_fail() {
  echo "FAIL: $*"
  E2E_FAILURES=$((E2E_FAILURES + 1))
}

# Windows spelling of a Unix path (Wine maps / to Z:).
e2e_winpath() {
  local path
  path=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  echo "Z:${path//\//\\}"
}

e2e_wine() {  # e2e_wine <out> <err> program args...: one Wine command, output to files
  local out=$1 err=$2
  shift 2
  wine "$@" >"$out" 2>"$err" </dev/null
}

e2e_setup() {
  : "${E2E_LAUNCHER:?}" "${E2E_DRIVER:?}" "${E2E_PROBE:?}" "${E2E_WORK_DIR:?}"
  export WINEARCH=win32
  export WINEPREFIX=${E2E_PREFIX:-${WINE_TEST_PREFIX:-${E2E_REPO_DIR:-.}/build/wineprefix-win32}-e2e}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  export WINEDEBUG=-all
  if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:${WINE_TEST_DISPLAY:-97}
    if ! xdpyinfo >/dev/null 2>&1; then
      (Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
      for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
  fi
  mkdir -p "$E2E_WORK_DIR"
  "${E2E_REPO_DIR:?}/cmake/wine-prefix" >&2 || return 1
  (
    flock 8
    # Made before, with the stand-in as built now (a rebuilt one is installed again below).
    [ -f "$WINEPREFIX/.e2e-ready" ] &&
      cmp -s "$E2E_TCPIP_MONITOR_DLL" "$WINEPREFIX/drive_c/windows/system32/$(basename "$E2E_TCPIP_MONITOR_DLL")" &&
      exit 0
    local log=$E2E_WORK_DIR/setup.log
    # The spooler finds the stand-in TCP/IP monitor's DLL in the system directory.
    local tools
    tools=$(dirname "$E2E_TCPIP_MONITOR_DLL")
    e2e_wine "$log" "$log.err" "$E2E_PROBE" add-monitor "Standard TCP/IP Port" \
      "$(basename "$E2E_TCPIP_MONITOR_DLL")" "$(e2e_winpath "$tools")" || { cat "$log" "$log.err" >&2; exit 1; }
    # Chinese labels need a CJK face behind the dialog fonts.
    local face
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
      e2e_wine /dev/null /dev/null reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f
    done
    wineserver -w
    touch "$WINEPREFIX/.e2e-ready"
  ) 8>"$WINEPREFIX.e2e.lock"
}

# A unique tag for names a run creates, so reruns in the same prefix meet no leftovers.
e2e_tag() {
  printf '%04X%04X' $((RANDOM)) $(($(date +%s) % 65536))
}

# e2e_layout <name> [wizard-exe] < config.ini: the shipped folder in a fresh run directory.
e2e_layout() {
  local name=$1 wizard=${2:-$E2E_WIZARD}
  local dir=$E2E_WORK_DIR/$name
  rm -rf "$dir"
  mkdir -p "$dir"
  cp -r "${E2E_FIXTURE_DEMO:?}/." "$dir/"
  rm -f "$dir"/MONITOR32/*.ran "$dir"/MONITOR64/*.ran "$dir"/UTILS/*.ran
  cp "${wizard:?no wizard exe}" "$dir/"
  echo "$(basename "$wizard")" >"$dir/.exe"
  # Windows profile files: CR LF line ends.
  sed 's/\r*$/\r/' >"$dir/config.ini"
  echo "$dir"
}

# e2e_config <name> <port type> [IPAddress] [more lines, printf %b escapes]: a config.ini for a
# run, its caption and printer both <name>, the LBL package, English; for e2e_layout.
e2e_config() {
  printf '[ARGS]\nCaption=%s\nPrnName=%s\nPrefix=LBL\nDefaultLanguage=ENG\nDefaultPorttype=%s\n' "$1" "$1" "$2"
  [ -n "${3:-}" ] && printf 'IPAddress=%s\n' "$3"
  printf '%b' "${4:-}"
}

# e2e_start <dir> [arguments...]: the wizard runs under the launcher with the trace and box
# channels logged; the arguments are the wizard's command line. E2E_LAUNCH_OPTIONS adds launcher
# options (--invisible-station); E2E_LAUNCH_DIR is its current folder in place of <dir>.
e2e_start() {
  local dir=$1
  shift
  local args=()
  [ $# -gt 0 ] && args=(-- "$@")
  local exe
  exe=$(cat "$dir/.exe")
  : >"$dir/drive.out"
  rm -f "$dir/drive.failed" "$dir/launch.rc"
  (
    # shellcheck disable=SC2086 # E2E_LAUNCH_OPTIONS: launcher options, word by word
    WINEDEBUG=-all,warn+seh,trace+msgbox wine "$E2E_LAUNCHER" --timeout "${E2E_WIZARD_TIMEOUT:-60}" ${E2E_LAUNCH_OPTIONS:-} \
      "$(e2e_winpath "$dir/$exe")" "$(e2e_winpath "${E2E_LAUNCH_DIR:-$dir}")" "${args[@]}" >"$dir/launch.out" 2>"$dir/wizard.log" </dev/null
    echo $? >"$dir/launch.rc"
  ) &
  echo $! >"$dir/launch.job"
}

# e2e_drive <dir> commands...: one driver run; its output goes to stdout and $dir/drive.out.
e2e_drive() {
  local dir=$1
  shift
  local script=$dir/drive.txt
  printf '%s\n' "$@" >"$script"
  e2e_wine "$dir/drive.last" "$dir/drive.err" "$E2E_DRIVER" -f "$(e2e_winpath "$script")"
  local rc=$?
  cat "$dir/drive.last" >>"$dir/drive.out"
  cat "$dir/drive.last"
  if [ $rc -ne 0 ]; then
    e2e_fail "driver: $(grep '^error:' "$dir/drive.last" | head -1)"
    touch "$dir/drive.failed"
  fi
  return $rc
}

# e2e_finish <dir>: waits for the wizard and sets E2E_EXIT to its full exit code, or "none".
# After a failed driver command the wizard may wait for input forever: it gets 3 s, then it is
# ended; otherwise the launcher's own limit applies.
e2e_finish() {
  local dir=$1
  local job limit
  job=$(cat "$dir/launch.job")
  limit=$(((${E2E_WIZARD_TIMEOUT:-60} + 10) * 10))
  [ -f "$dir/drive.failed" ] && limit=30
  for _ in $(seq $limit); do
    [ -f "$dir/launch.rc" ] && break
    sleep 0.1
  done
  if [ ! -f "$dir/launch.rc" ]; then
    local pid
    pid=$(sed -n 's/^started: //p' "$dir/launch.out" | tr -d '\r')
    [ -n "$pid" ] && e2e_wine /dev/null /dev/null "$E2E_DRIVER" "kill $pid"
    echo "e2e: ended the wizard of $(basename "$dir") (pid ${pid:-unknown})"
  fi
  wait "$job" 2>/dev/null
  sed -i 's/\r$//' "$dir/launch.out"
  E2E_EXIT=$(sed -n 's/^exit code: //p' "$dir/launch.out")
  E2E_EXIT=${E2E_EXIT:-none}
}

# e2e_stop <dir>: ends a wizard that is still running, at once.
e2e_stop() {
  touch "$1/drive.failed"
  e2e_finish "$1"
}

e2e_probe() {
  local dir=$1 out=${2:-$1/probe.out}
  e2e_wine "$out" "$out.err" "$E2E_PROBE" list || e2e_fail "probe failed: $(cat "$out.err")"
  sed -i 's/\r$//' "$out"
}

# e2e_port_record <monitor> <port>: the bytes that created a port of a stand-in monitor, in hex
# (the monitors keep them in the registry under the port's key); empty when there are none.
e2e_port_record() {
  local key="HKLM\\System\\CurrentControlSet\\Control\\Print\\Monitors\\$1\\Ports\\$2"
  local out=$E2E_WORK_DIR/reg.$$.out
  e2e_wine "$out" /dev/null reg query "$key" /v AddPort
  tr -d '\r' <"$out" | awk '$1 == "AddPort" { print $3 }'
  rm -f "$out"
}

# e2e_reg_values <key under HKLM> <out>: the key's values, one "name<TAB>type<TAB>data" line each
# (a REG_MULTI_SZ's entries joined by \0, as reg shows them); false, and no line, when the key
# is not there.
e2e_reg_values() {
  local raw=$2.raw
  if ! e2e_wine "$raw" /dev/null reg query "HKLM\\$1"; then
    : >"$2"
    return 1
  fi
  tr -d '\r' <"$raw" | sed -n 's/^    \([^ ]\+\)    \(REG_[A-Z_]\+\)    \?\(.*\)$/\1\t\2\t\3/p' >"$2"
}

# e2e_expect_marker <dir> <printer> <driver> <port>: the detection marker of an install from
# <dir>: this build's version, the driver and port, <dir>'s config.ini, a local time.
e2e_expect_marker() {
  local out=$1/marker.out
  if ! e2e_reg_values "SOFTWARE\\PrinterSetup\\Printers\\$2" "$out"; then
    e2e_fail "no detection marker for $2"
    return
  fi
  e2e_expect_line "$out" "$(printf 'Version\tREG_SZ\t%s' "${E2E_VERSION:?}")"
  e2e_expect_line "$out" "$(printf 'Driver\tREG_SZ\t%s' "$3")"
  e2e_expect_line "$out" "$(printf 'Port\tREG_SZ\t%s' "$4")"
  e2e_expect_line "$out" "$(printf 'Config\tREG_SZ\t%s' "$(e2e_winpath "$1/config.ini")")"
  grep -qE $'^InstalledAt\tREG_SZ\t[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}$' "$out" ||
    e2e_fail "marker of $2: no local time in InstalledAt: $(grep '^InstalledAt' "$out")"
}

# e2e_expect_no_marker <dir> <printer>
e2e_expect_no_marker() {
  if e2e_reg_values "SOFTWARE\\PrinterSetup\\Printers\\$2" "$1/marker.out"; then
    e2e_fail "detection marker of $2 left: $(tr '\n' ' ' <"$1/marker.out")"
  fi
}

# e2e_record_text <hex> <byte offset> <UTF-16 units>: a NUL-terminated text field of a record.
e2e_record_text() {
  python3 -c 'import sys
data = bytes.fromhex(sys.argv[1]); at = int(sys.argv[2]); units = int(sys.argv[3])
print(data[at:at + 2 * units].decode("utf-16le", "replace").split("\0")[0])' "$1" "$2" "$3"
}

# e2e_record_dword <hex> <byte offset>: a little-endian 32-bit field of a record.
e2e_record_dword() {
  python3 -c 'import sys
data = bytes.fromhex(sys.argv[1]); at = int(sys.argv[2])
print(int.from_bytes(data[at:at + 4], "little") if len(data) >= at + 4 else "none")' "$1" "$2"
}

# --- checks ------------------------------------------------------------------------------------

e2e_expect_line() {  # <file> <exact line>
  grep -qxF -- "$2" "$1" || e2e_fail "missing in $(basename "$1"): $2"
}
e2e_expect_no_line() {
  ! grep -qxF -- "$2" "$1" || e2e_fail "unexpected in $(basename "$1"): $2"
}
e2e_expect_line_start() {  # <file> <fixed start of a line>
  awk -v p="$2" 'index($0, p) == 1 { found = 1 } END { exit !found }' "$1" ||
    e2e_fail "no line in $(basename "$1") starts with: $2"
}
e2e_expect_text() {  # <file> <fixed text anywhere in a line>
  grep -qF -- "$2" "$1" || e2e_fail "missing in $(basename "$1"): $2"
}
e2e_expect_no_text() {
  ! grep -qF -- "$2" "$1" || e2e_fail "unexpected in $(basename "$1"): $2"
}
e2e_expect_count() {  # <file> <fixed text> <count of lines holding it>
  local n
  n=$(grep -cF -- "$2" "$1")
  [ "$n" -eq "$3" ] || e2e_fail "$(basename "$1"): '$2' $n times, not $3"
}
e2e_expect_eq() {  # <what> <actual> <expected>
  [ "$2" = "$3" ] || e2e_fail "$1: '$2', expected '$3'"
}
e2e_expect_exit() {  # <dir> <code>
  e2e_expect_eq "exit code of $(basename "$1")" "$E2E_EXIT" "$2"
}

# The probe's tab-separated lines.
e2e_printer_line() { printf 'printer\t%s\t%s\t%s' "$1" "$2" "$3"; }
e2e_port_line() { printf 'port\t%s\t%s\t%s' "$1" "$2" "$3"; }

# e2e_show_run <dir>: what a failing test leaves for reading.
e2e_show_run() {
  local dir=$1
  echo "--- $(basename "$dir"): launch"; cat "$dir/launch.out" 2>/dev/null
  echo "--- drive"; cat "$dir/drive.out" 2>/dev/null
  echo "--- wizard log (trace and boxes)"
  grep -E 'OutputDebugString|dispatch_exception|MSGBOX|err:' "$dir/wizard.log" 2>/dev/null | head -60
}

e2e_done() {
  if [ "$E2E_FAILURES" -gt 0 ]; then
    local dir
    for dir in "$@"; do e2e_show_run "$dir"; done
    echo "$E2E_FAILURES check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# e2e_screenshot <out.png> <caption>: the wizard's window as Xvfb shows it.
e2e_screenshot() {
  bash "$E2E_LIB_DIR/screenshot.sh" "$1" "$2"
}
