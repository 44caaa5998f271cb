#!/usr/bin/env bash
# One road at a time: while the road's success box is up, a posted Next, Prev, title-bar close
# and IDCANCEL reach the wizard and start nothing. Closing the box ends the run with exit 0 and
# exactly one printer; no second road ran ("<name>(2)") and the close did not turn it into 1602.
# The box's owner is the main window.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Guard $tag"
address="10.66.$((RANDOM % 250)).$((RANDOM % 250 + 1))"
run=$(e2e_config "$name" ETH "$address" '[SKIP]\nLanguage=1\nPort=1\nAutoInstall=1\n' | e2e_layout road-guard)
e2e_start "$run"
e2e_drive "$run" "window $name" waitbox "command main IDC_NEXT" "command main IDC_PREV" close cancel sync closebox \
  gone >/dev/null
e2e_finish "$run"
e2e_expect_exit "$run" 0
e2e_expect_count "$run/drive.out" "box text: Add Printer Successful - $name" 1
e2e_expect_count "$run/wizard.log" "MSGBOX_OnInit" 1
e2e_expect_line "$run/drive.out" "box owner: main"
e2e_probe "$run"
e2e_expect_text "$run/probe.out" "$(e2e_printer_line "$name" "$address" LBLENG)"
e2e_expect_no_text "$run/probe.out" "$name(2)"
e2e_done "$run"
