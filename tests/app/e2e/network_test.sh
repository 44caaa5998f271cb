#!/usr/bin/env bash
# The unattended network install: with all three skip flags and DefaultPorttype ETH the window
# comes up on the network page with Prev disabled and installs without any click: the Standard
# TCP/IP port for the page's default address, the driver LBLENG for "Windows NT x86", the
# printer on that port and every DATA value in it; the success box names it; exit code 0.
# A second run with the same configuration finds name and port taken: it installs "<name>(2)"
# on the same port, and no port box comes up.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Net $tag"
config="[ARGS]
Caption=$name
PrnName=$name
Prefix=LBL
DefaultLanguage=ENG
DefaultPorttype=ETH
[SKIP]
Language=1
Port=1
AutoInstall=1
[DATA]
PaperName=Label 60x40
Darkness=8
Note=a=b
NoEqualsSign"

first=$(e2e_layout network-first <<<"$config")
e2e_start "$first"
# Only looking: the box is up before anything is clicked, the wizard still on the network page.
e2e_drive "$first" "window $name" waitbox page nav "text network IDC_IP_ADDRESS" closebox gone >/dev/null
e2e_finish "$first"
e2e_expect_exit "$first" 0
out=$first/drive.out
e2e_expect_line "$out" "page: network"
e2e_expect_line "$out" "nav: prev=0 next=1"
e2e_expect_line "$out" "box: OK"
e2e_expect_line "$out" "box text: Add Printer Successful - $name"
address=$(sed -n 's/^text: network IDC_IP_ADDRESS //p' "$out")
[ -n "$address" ] || e2e_fail "no default address on the network page"

e2e_probe "$first"
probe=$first/probe.out
e2e_expect_line "$probe" "$(e2e_printer_line "$name" "$address" LBLENG)"
e2e_expect_line_start "$probe" "$(printf 'port\t%s\tStandard TCP/IP Port\t' "$address")"
e2e_expect_text "$probe" "$(printf 'driver\tLBLENG\tWindows NT x86\t')"
e2e_expect_text "$probe" "$(printf '\\3\\LBLENG.GPD\t')"
e2e_expect_line "$probe" "$(printf 'data\t%s\tPaperName\tLabel 60x40' "$name")"
e2e_expect_line "$probe" "$(printf 'data\t%s\tDarkness\t8' "$name")"
e2e_expect_line "$probe" "$(printf 'data\t%s\tNote\ta=b' "$name")"
e2e_expect_no_text "$probe" "NoEqualsSign"
log=$first/wizard.log
e2e_expect_text "$log" 'OutputDebugStringA "Tollinder - PaperName Label 60x40"'
e2e_expect_text "$log" 'OutputDebugStringA "Tollinder - Copy LBLENG.GPD From '
e2e_expect_count "$log" "MSGBOX_OnInit" 1

second=$(e2e_layout network-second <<<"$config")
e2e_start "$second"
e2e_drive "$second" "window $name" box gone >/dev/null
e2e_finish "$second"
e2e_expect_exit "$second" 0
e2e_expect_line "$second/drive.out" "box text: Add Printer Successful - $name(2)"
e2e_expect_count "$second/wizard.log" "MSGBOX_OnInit" 1
e2e_probe "$second"
e2e_expect_line "$second/probe.out" "$(e2e_printer_line "$name" "$address" LBLENG)"
e2e_expect_line "$second/probe.out" "$(e2e_printer_line "$name(2)" "$address" LBLENG)"
e2e_expect_count "$second/probe.out" "$(printf 'port\t%s\t' "$address")" 1

e2e_done "$first" "$second"
