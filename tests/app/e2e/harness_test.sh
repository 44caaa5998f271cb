#!/usr/bin/env bash
# The harness on its own, against the stand-in wizard: the launcher's full exit codes (1602 is
# 66 to `wine`), finding pages, relabelling seen through the controls, posted clicks that open a
# modal box, reading and closing the box, typing into the address control, and the title-bar close.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

config='[ARGS]
Caption=E2E Harness
PrnName=Harness Printer
DefaultLanguage=CHN'

# Next through to the network page; the address typed; the success box; exit 0.
run=$(e2e_layout harness-install "$E2E_STANDIN" <<<"$config")
e2e_start "$run"
e2e_drive "$run" "window E2E Harness" page nav "text main IDC_PREV" "click language IDC_ENGLISH" idle \
  "text main IDC_PREV" "checked language IDC_ENGLISH" "checked language IDC_CHINESE" "click main IDC_NEXT" \
  "waitpage type" "click type IDC_TYPE_NETWORK" "click main IDC_NEXT" "waitpage network" nav \
  "setip network IDC_IP_ADDRESS 10.9.8.7" "text network IDC_IP_ADDRESS" "ip network IDC_IP_ADDRESS" \
  "click main IDC_NEXT" box gone >/dev/null
e2e_finish "$run"
out=$run/drive.out
for line in "window: E2E Harness" "page: language" "nav: prev=0 next=1" "text: main IDC_PREV 上一步" \
  "text: main IDC_PREV Prev" "checked: language IDC_ENGLISH 1" "checked: language IDC_CHINESE 0" "page: network" \
  "nav: prev=1 next=1" "text: network IDC_IP_ADDRESS 10.9.8.7" "ip: network IDC_IP_ADDRESS 10.9.8.7" "box: OK" \
  "box text: Add Printer Successful - Harness Printer" "box closed" "gone"; do
  e2e_expect_line "$out" "$line"
done
e2e_expect_exit "$run" 0
e2e_expect_text "$run/wizard.log" 'MSGBOX_OnInit L"Add Printer Successful - Harness Printer"'

# An error box that keeps the wizard open, then one that ends it with 1603.
run2=$(e2e_layout harness-failure "$E2E_STANDIN" <<<"$config")
e2e_start "$run2"
e2e_drive "$run2" "window E2E Harness" "click main IDC_NEXT" "waitpage type" "click main IDC_NEXT" "waitpage usb" \
  "items usb IDC_USB_COMBO" "click main IDC_NEXT" box page "settext usb IDC_USB_COMBO VID:0x1A2B,PID:0x4D5E" \
  "text usb IDC_USB_COMBO" "click main IDC_NEXT" box gone >/dev/null
e2e_finish "$run2"
out=$run2/drive.out
e2e_expect_line "$out" "items: usb IDC_USB_COMBO 0"
e2e_expect_line "$out" 'box text: 没有发现USB打印机 - ERROR CODE: 0\r\n'
e2e_expect_line "$out" "page: usb"
e2e_expect_line "$out" "text: usb IDC_USB_COMBO VID:0x1A2B,PID:0x4D5E"
e2e_expect_line "$out" 'box text: AddPrinter Failed - ERROR CODE: 1796\r\n'
e2e_expect_exit "$run2" 1603

# The title bar's close button: 1602 in full.
run3=$(e2e_layout harness-close "$E2E_STANDIN" <<<"$config")
e2e_start "$run3"
e2e_drive "$run3" "window E2E Harness" nobox close gone >/dev/null
e2e_finish "$run3"
e2e_expect_exit "$run3" 1602
e2e_expect_line "$run3/launch.out" "exit code: 1602"

# A wrong expectation fails the driver with a readable error instead of hanging.
run4=$(e2e_layout harness-error "$E2E_STANDIN" <<<"$config")
e2e_start "$run4"
E2E_FAILURES_BEFORE=$E2E_FAILURES
e2e_drive "$run4" "window E2E Harness" "timeout 300" "waitpage network" >/dev/null
E2E_FAILURES=$E2E_FAILURES_BEFORE
e2e_expect_line "$run4/drive.out" "error: page language, not network"
e2e_drive "$run4" "window E2E Harness" cancel gone >/dev/null
e2e_finish "$run4"
e2e_expect_exit "$run4" 1602

e2e_done "$run" "$run2" "$run3" "$run4"
