#!/usr/bin/env bash
# The title bar's close button on the network page, with an address typed: the wizard ends with
# 1602 (closed without installing), shows no box, and the spooler has no new port or printer.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Close $tag"
address="10.77.$((RANDOM % 250)).$((RANDOM % 250 + 1))"
run=$(e2e_layout close <<EOF2
[ARGS]
Caption=$name
PrnName=$name
Prefix=LBL
DefaultLanguage=ENG
DefaultPorttype=ETH
EOF2
)
e2e_start "$run"
e2e_drive "$run" "window $name" "click main IDC_NEXT" "waitpage type" "checked type IDC_TYPE_NETWORK" \
  "click main IDC_NEXT" "waitpage network" "setip network IDC_IP_ADDRESS $address" "text network IDC_IP_ADDRESS" \
  close gone >/dev/null
e2e_finish "$run"
e2e_expect_line "$run/drive.out" "checked: type IDC_TYPE_NETWORK 1"
e2e_expect_line "$run/drive.out" "text: network IDC_IP_ADDRESS $address"
e2e_expect_line "$run/drive.out" "gone"
e2e_expect_exit "$run" 1602
e2e_expect_count "$run/wizard.log" "MSGBOX_OnInit" 0
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "$name"
e2e_expect_no_text "$run/probe.out" "$(printf '\t%s\t' "$address")"
e2e_done "$run"
