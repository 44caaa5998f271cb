#!/usr/bin/env bash
# The USB page without a port monitor: the list holds the spooler's ports whose names contain
# "USB" (case-sensitive), in the spooler's order, with the first selected (Wine has no attached
# USB printer to preselect); the search button fills it again the same way. The chosen port is
# used as it is: the printer is installed on it, exit 0, and no monitor tool runs.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Usb Spooler $tag"
port="E2EUSB$tag"
inner="E2E${tag}USBX"
run=$(e2e_layout usb-spooler <<EOF2
[ARGS]
Caption=$name
PrnName=$name
Prefix=LBL
DefaultLanguage=ENG
DefaultPorttype=USB
[SKIP]
Language=1
Port=1
EOF2
)
# Two spooler ports with "USB" in their names, one of them not at the start.
e2e_wine "$run/ports.out" "$run/ports.err" "$E2E_DRIVER" "tcpport $port 10.66.$((RANDOM % 250)).1" \
  "tcpport $inner 10.67.$((RANDOM % 250)).1" || e2e_fail "set-up ports: $(cat "$run/ports.out")"
e2e_probe "$run" "$run/before.out"
awk -F'\t' '$1 == "port" && index($2, "USB") { print $2 }' "$run/before.out" >"$run/expected.txt"

e2e_start "$run"
w="window $name"
combo="usb IDC_USB_COMBO"
e2e_drive "$run" "$w" "waitpage usb" "items $combo" "text $combo" >"$run/start.out"
e2e_drive "$run" "$w" "settext $combo typed over" "click usb IDC_USB_SEARCH" idle "items $combo" "text $combo" \
  >"$run/search.out"
# The port chosen is not the preselected one, so the choice is what reaches the spooler.
chosen=$port
[ "$(head -1 "$run/expected.txt")" = "$port" ] && chosen=$inner
e2e_drive "$run" "$w" "select $combo $chosen" "text $combo" "click main IDC_NEXT" box gone >"$run/install.out"
e2e_finish "$run"

first=$(head -1 "$run/expected.txt")
for step in start search; do
  sed -n "s/^item: $combo [0-9]* //p" "$run/$step.out" >"$run/$step-items.txt"
  cmp -s "$run/$step-items.txt" "$run/expected.txt" ||
    e2e_fail "$step: the list is not the spooler's USB ports: $(tr '\n' ' ' <"$run/$step-items.txt")"
  e2e_expect_line "$run/$step.out" "selected: $combo 0"
  e2e_expect_line "$run/$step.out" "text: $combo $first"
done
grep -qx "$port" "$run/expected.txt" && grep -qx "$inner" "$run/expected.txt" ||
  e2e_fail "the spooler did not list $port and $inner"
e2e_expect_line "$run/install.out" "text: $combo $chosen"
e2e_expect_line "$run/install.out" "box text: Add Printer Successful - $name"
e2e_expect_exit "$run" 0
e2e_expect_no_text "$run/wizard.log" "Tollinder - MonitorExist"
[ ! -e "$run/MONITOR32/MonitorSetup.ran" ] || e2e_fail "the monitor setup tool ran without a monitor"
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$chosen" LBLENG)"

e2e_done "$run"
