#!/usr/bin/env bash
# The USB road with MONITOR32\MonitorSetup.exe missing: the shell shows no box of its own (its
# "File not found" names no file); the wizard's own ERROR box names the tool and its full path,
# and the road goes on as it did: the monitor is still not there, so it ends with "Monitor Not
# Exist" and 1603, nothing installed.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E NoTool $tag"
device="VID:0x1A2B,PID:0x4D5E"
run=$(e2e_layout tool-missing <<EOF2
[ARGS]
Caption=$name
PrnName=$name
Prefix=LBL
DefaultLanguage=ENG
DefaultPorttype=USB
PortMonitor=E2E Absent Monitor $tag
PortNamePrefix=E2EN$tag
[SKIP]
Language=1
Port=1
EOF2
)
rm "$run/MONITOR32/MonitorSetup.exe"
e2e_probe "$run" "$run/before.out"
e2e_start "$run"
e2e_drive "$run" "window $name" "waitpage usb" "settext usb IDC_USB_COMBO $device" "click main IDC_NEXT" \
  box box gone >/dev/null
e2e_finish "$run"
e2e_probe "$run"

tool="$(e2e_winpath "$run")\\MONITOR32\\MonitorSetup.exe"
e2e_expect_exit "$run" 1603
e2e_expect_count "$run/drive.out" "box: " 2
e2e_expect_line "$run/drive.out" "box text: Cannot Start Tool: $tool - ERROR CODE: 2\\r\\n"
e2e_expect_line_start "$run/drive.out" "box text: Monitor Not Exist"
e2e_expect_count "$run/wizard.log" "MSGBOX_OnInit" 2
e2e_expect_no_text "$run/wizard.log" "File not found"
cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "the spooler changed"
e2e_done "$run"
