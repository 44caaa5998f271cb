#!/usr/bin/env bash
# The USB page with the custom port monitor. Next with no device chosen shows the hint box in
# the language applied last (Chinese, then English after going back and switching) and the
# wizard stays on the USB page without running any tool. A typed device text then runs the
# monitor's setup tool ("update", in MONITOR32) before the port is made, creates the first
# numbered port <prefix>001 through the monitor with the device text in its record, installs the
# printer on it, exit 0. A second run goes straight to the USB page and makes <prefix>002 for
# "<name>(2)". Wine reports no queued jobs, so the purge script never runs here.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Usb $tag"
prefix="E2EU$tag"
monitor="Label USB Monitor"
device="VID:0x1A2B,PID:0x4D5E"
hint_chn='没有发现USB打印机，请您确认USB连接正确，且打印机已开机。 - ERROR CODE: 0\r\n'
hint_eng='Did not find the USB printer. Please confirm the USB connection is correct, and the printer has been switched on. - ERROR CODE: 0\r\n'
config() {  # <skip language>
  cat <<EOF2
[ARGS]
Caption=$name
PrnName=$name
Prefix=LBL
DefaultLanguage=ENG
DefaultPorttype=USB
PortMonitor=$monitor
PortNamePrefix=$prefix
[SKIP]
Language=$1
Port=1
EOF2
}

first=$(config 0 | e2e_layout usb-monitor-first)
e2e_start "$first"
w="window $name"
e2e_drive "$first" "$w" "click language IDC_CHINESE" "click main IDC_NEXT" "waitpage usb" "text usb IDC_USB_COMBO" \
  "click main IDC_NEXT" waitbox closebox nobox page >"$first/chinese.out"
e2e_drive "$first" "$w" "click main IDC_PREV" "waitpage language" "click language IDC_ENGLISH" "click main IDC_NEXT" \
  "waitpage usb" "click main IDC_NEXT" waitbox closebox nobox page >"$first/english.out"
[ ! -e "$first/MONITOR32/MonitorSetup.ran" ] || e2e_fail "the setup tool ran before a device was chosen"
e2e_drive "$first" "$w" "timeout 30000" "settext usb IDC_USB_COMBO $device" "text usb IDC_USB_COMBO" \
  "click main IDC_NEXT" box gone >"$first/install.out"
e2e_finish "$first"

e2e_expect_line "$first/chinese.out" "text: usb IDC_USB_COMBO "
for lang in chinese english; do
  e2e_expect_line "$first/$lang.out" "box: ERROR"
  e2e_expect_line "$first/$lang.out" "page: usb"
done
e2e_expect_line "$first/chinese.out" "box text: $hint_chn"
e2e_expect_line "$first/english.out" "box text: $hint_eng"
e2e_expect_line "$first/install.out" "text: usb IDC_USB_COMBO $device"
e2e_expect_line "$first/install.out" "box: OK"
e2e_expect_line "$first/install.out" "box text: Add Printer Successful - $name"
e2e_expect_exit "$first" 0

# The setup tool: started with "update" from its own folder and waited for (its mark is written last).
mark=$first/MONITOR32/MonitorSetup.ran
if [ -f "$mark" ]; then
  tr -d '\r' <"$mark" >"$mark.txt"
  e2e_expect_line "$mark.txt" "arguments=update"
  e2e_expect_line "$mark.txt" "directory=$(e2e_winpath "$first/MONITOR32")"
else
  e2e_fail "MonitorSetup.exe did not run"
fi
[ ! -e "$first/UTILS/DeletePrintJobs.ran" ] || e2e_fail "the purge script ran without queued jobs"
log=$first/wizard.log
e2e_expect_count "$log" 'OutputDebugStringA "Tollinder - MonitorExist"' 2
e2e_expect_count "$log" 'OutputDebugStringA "Tollinder - AddKCPort"' 1
e2e_expect_count "$log" "MSGBOX_OnInit" 3

e2e_probe "$first"
e2e_expect_line_start "$first/probe.out" "$(e2e_port_line "${prefix}001" "$monitor" "")"
e2e_expect_line "$first/probe.out" "$(e2e_printer_line "$name" "${prefix}001" LBLENG)"
record=$(e2e_port_record "$monitor" "${prefix}001")
e2e_expect_eq "port name in the record" "$(e2e_record_text "$record" 0 260)" "${prefix}001"
e2e_expect_eq "connection kind in the record" "$(e2e_record_dword "$record" 520)" 4
e2e_expect_eq "device text in the record" "$(e2e_record_text "$record" 1580 260)" "$device"
e2e_expect_eq "record size" "${#record}" $((2620 * 2))

# The next run: the monitor is there, the next number and the next printer name are taken.
second=$(config 1 | e2e_layout usb-monitor-second)
e2e_start "$second"
e2e_drive "$second" "$w" "timeout 30000" "waitpage usb" nav "settext usb IDC_USB_COMBO $device,MI:01" \
  "click main IDC_NEXT" box gone >/dev/null
e2e_finish "$second"
e2e_expect_exit "$second" 0
e2e_expect_line "$second/drive.out" "nav: prev=0 next=1"
e2e_expect_line "$second/drive.out" "box text: Add Printer Successful - $name(2)"
[ -f "$second/MONITOR32/MonitorSetup.ran" ] || e2e_fail "MonitorSetup.exe did not run with the monitor installed"
e2e_probe "$second"
e2e_expect_line "$second/probe.out" "$(e2e_printer_line "$name(2)" "${prefix}002" LBLENG)"
record=$(e2e_port_record "$monitor" "${prefix}002")
e2e_expect_eq "device text of the second port" "$(e2e_record_text "$record" 1580 260)" "$device,MI:01"

e2e_done "$first" "$second"
