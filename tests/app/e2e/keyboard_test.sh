#!/usr/bin/env bash
# The wizard from the keyboard, keys sent to the focused control as the keyboard would queue
# them: the focus starts on Next, Tab walks into the visible page (its checked radio button, the
# address) and on to the buttons (Prev only where enabled), Enter presses Next from any of them and never closes the
# wizard, Esc closes it without installing (1602).
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Keys $tag"
run=$(e2e_config "$name" ETH | e2e_layout keyboard)
e2e_start "$run"
e2e_drive "$run" "window $name" focus "key tab" focus "key tab" focus "key tab" focus "key enter" \
  "waitpage type" focus "key tab" focus "key enter" "waitpage network" nav focus "key tab" focus \
  "key tab" focus "key esc" gone >"$run/keys.out"
e2e_finish "$run"

# The expected transcript, line for line.
expected="focus: main IDC_NEXT
key: tab
focus: language IDC_ENGLISH
key: tab
focus: main IDC_NEXT
key: tab
focus: language IDC_ENGLISH
key: enter
page: type
focus: main IDC_NEXT
key: tab
focus: type IDC_TYPE_NETWORK
key: enter
page: network
nav: prev=1 next=1
focus: main IDC_NEXT
key: tab
focus: network IDC_IP_ADDRESS
key: tab
focus: main IDC_PREV
key: esc
gone"
actual=$(grep -v '^window: ' "$run/keys.out" | tr -d '\r')
[ "$actual" = "$expected" ] || e2e_fail "keys transcript: $(diff <(echo "$expected") <(echo "$actual") | tr '\n' ' ')"
e2e_expect_exit "$run" 1602
e2e_expect_count "$run/wizard.log" "MSGBOX_OnInit" 0
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "$name"
e2e_done "$run"
