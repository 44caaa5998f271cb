#!/usr/bin/env bash
# Roads that end in a failure box end the wizard with 1603, not with success:
# - unattended network install with an empty printer name: refused before the road changes
#   anything ("PrnName is empty", 123). Wine's spooler takes a missing package, an unknown port
#   and an empty port alike, and the names it refuses are refused before it is asked, so
#   "AddPrinter Failed" itself is covered on the fakes only;
# - USB road with a monitor that its setup tool does not install: the tool runs, then
#   "Monitor Not Exist" with the last-error code; no port is asked for and nothing is installed;
# - unattended network install from a package folder that lacks two of its driver's files (Wine
#   would register the driver all the same): refused before any change, the files named, no
#   port, no driver, no printer;
# - unattended network install whose TCP/IP monitor refuses AddPort (status 5): the road ends
#   with the port's box before the driver is staged, 1603, no driver, no printer.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Failure $tag"
printer=$(e2e_layout failure-printer <<EOF2
[ARGS]
Caption=$name
PrnName=
Prefix=LBL
DefaultLanguage=ENG
DefaultPorttype=ETH
[SKIP]
Language=1
Port=1
AutoInstall=1
EOF2
)
e2e_start "$printer"
e2e_drive "$printer" "window $name" box gone >/dev/null
e2e_finish "$printer"
e2e_expect_line "$printer/drive.out" "box: ERROR"
e2e_expect_line "$printer/drive.out" 'box text: config.ini: PrnName is empty. - ERROR CODE: 123\r\n'
e2e_expect_count "$printer/wizard.log" "MSGBOX_OnInit" 1
e2e_expect_exit "$printer" 1603

monitor=$(e2e_layout failure-monitor <<EOF2
[ARGS]
Caption=$name
PrnName=$name
Prefix=LBL
DefaultLanguage=ENG
PortMonitor=E2E Missing Monitor $tag
PortNamePrefix=E2EM$tag
[SKIP]
Language=1
Port=1
EOF2
)
e2e_start "$monitor"
e2e_drive "$monitor" "window $name" "timeout 30000" "waitpage usb" "settext usb IDC_USB_COMBO VID:0x1A2B,PID:0x4D5E" \
  "click main IDC_NEXT" box gone >/dev/null
e2e_finish "$monitor"
e2e_expect_line "$monitor/drive.out" "box: ERROR"
e2e_expect_line_start "$monitor/drive.out" "box text: Monitor Not Exist - ERROR CODE: "
e2e_expect_count "$monitor/wizard.log" "MSGBOX_OnInit" 1
e2e_expect_no_text "$monitor/wizard.log" "Tollinder - AddKCPort"
[ -f "$monitor/MONITOR32/MonitorSetup.ran" ] || e2e_fail "the setup tool did not run before the check"
e2e_expect_exit "$monitor" 1603

e2e_probe "$monitor"
e2e_expect_no_text "$monitor/probe.out" "$name"
e2e_expect_no_text "$monitor/probe.out" "E2EM$tag"

# A driver prefix of its own, so no other test's install holds a driver of that name.
prefix="P$tag"
address="10.34.$((RANDOM % 250)).$((RANDOM % 250 + 1))"
package=$(e2e_layout failure-package <<EOF2
[ARGS]
Caption=$name
PrnName=$name
Prefix=$prefix
DefaultLanguage=ENG
DefaultPorttype=ETH
IPAddress=$address
[SKIP]
Language=1
Port=1
AutoInstall=1
EOF2
)
for file in "$package"/SETUP/*/LBL* "$package"/SETUP64/*/LBL*; do
  mv "$file" "$(dirname "$file")/$prefix${file##*/LBL}"
done
rm "$package/SETUP/ENG/${prefix}RCENG.DLL" "$package/SETUP/ENG/UNIRES.DLL"
e2e_start "$package"
e2e_drive "$package" "window $name" box gone >/dev/null
e2e_finish "$package"
e2e_expect_line "$package/drive.out" "box: ERROR"
e2e_expect_line "$package/drive.out" \
  "box text: Driver package incomplete: SETUP\\ENG lacks ${prefix}RCENG.DLL, UNIRES.DLL. Nothing was changed. - ERROR CODE: 2\\r\\n"
e2e_expect_count "$package/wizard.log" "MSGBOX_OnInit" 1
e2e_expect_exit "$package" 1603
e2e_probe "$package"
e2e_expect_no_text "$package/probe.out" "$address"
e2e_expect_no_text "$package/probe.out" "${prefix}ENG"
e2e_expect_no_text "$package/probe.out" "$name"

# A monitor that refuses the port: nothing after the port step happens.
refused_name="E2E Refused Port $tag"
refused_prefix="P${tag}"
refused_address="10.38.$((RANDOM % 250)).1"
refused=$(e2e_config "$refused_name" ETH "$refused_address" | sed "s/^Prefix=LBL/Prefix=$refused_prefix/" | e2e_layout failure-refused-port)
for file in "$refused"/SETUP/*/LBL* "$refused"/SETUP64/*/LBL*; do
  mv "$file" "$(dirname "$file")/$refused_prefix${file##*/LBL}"
done
e2e_wine /dev/null /dev/null reg add 'HKLM\System\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port' \
  /v RefuseAddPort /t REG_SZ /d "$refused_address" /f || e2e_fail "the refusal could not be set"
e2e_start "$refused" /quiet /log "$(e2e_winpath "$refused/install.log")"
e2e_finish "$refused"
e2e_expect_exit "$refused" 1603
tr -d '\r' <"$refused/install.log" | sed 's/^[0-9-]* [0-9:.]* //' >"$refused/log.txt"
e2e_expect_line "$refused/log.txt" "box: ERROR: Port Not Created: $refused_address - ERROR CODE: 1796"
e2e_probe "$refused"
e2e_expect_no_text "$refused/probe.out" "$(printf 'port\t%s\t' "$refused_address")"
e2e_expect_no_text "$refused/probe.out" "$(printf 'driver\t%sENG\t' "$refused_prefix")"
e2e_expect_no_text "$refused/probe.out" "$(printf 'printer\t%s\t' "$refused_name")"

e2e_done "$refused" "$printer" "$monitor" "$package"
