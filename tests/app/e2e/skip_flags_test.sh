#!/usr/bin/env bash
# Start-ups with the skip flags, seen in the window: which page comes up, whether Prev is
# enabled, where Next and Prev lead from there; AutoInstall without both other flags starts no
# install. Each case ends with the close button: nothing installed, exit 1602.
#   skip_flags_test.sh <env> language|port|both|once
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
case=$2
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Skip $case $tag"
case $case in
  language) flags="Language=1
Port=0
AutoInstall=1" porttype= ;;
  port) flags="Port=1
AutoInstall=1" porttype=ETH ;;
  both) flags="Language=1
Port=1" porttype= ;;
  once) flags="Language=1
Port=1
AutoInstall=1" porttype=COM ;;
  *) echo "unknown case $case"; exit 2 ;;
esac
run=$(e2e_layout "skip-$case" <<EOF2
[ARGS]
Caption=$name
PrnName=$name
Prefix=LBL
DefaultLanguage=ENG
DefaultPorttype=$porttype
[SKIP]
$flags
EOF2
)
e2e_start "$run"
w="window $name"
steps() {  # <label> commands...: one driver run, its output kept under a label
  local label=$1
  shift
  e2e_drive "$run" "$w" "$@" >"$run/$label.out"
}
case $case in
  language)
    # The connection-type page with Prev disabled, USB preselected; Next leads to the USB page
    # with Prev enabled; Prev back to the connection-type page disables it again.
    steps start page nav "checked type IDC_TYPE_USB" "checked type IDC_TYPE_NETWORK" nobox
    steps next "click main IDC_NEXT" "waitpage usb" nav
    steps prev "click main IDC_PREV" "waitpage type" nav
    e2e_expect_line "$run/start.out" "page: type"
    e2e_expect_line "$run/start.out" "nav: prev=0 next=1"
    e2e_expect_line "$run/start.out" "checked: type IDC_TYPE_USB 1"
    e2e_expect_line "$run/start.out" "checked: type IDC_TYPE_NETWORK 0"
    e2e_expect_line "$run/next.out" "nav: prev=1 next=1"
    e2e_expect_line "$run/prev.out" "nav: prev=0 next=1"
    ;;
  port)
    # The language page; Next passes over the connection-type page to the network page (ETH
    # preselected) and Prev from there returns to the language page.
    steps start page nav nobox
    steps next "click main IDC_NEXT" "waitpage network" nav
    steps prev "click main IDC_PREV" "waitpage language" nav
    e2e_expect_line "$run/start.out" "page: language"
    e2e_expect_line "$run/start.out" "nav: prev=0 next=1"
    e2e_expect_line "$run/next.out" "nav: prev=1 next=1"
    e2e_expect_line "$run/prev.out" "nav: prev=0 next=1"
    ;;
  both)
    # Straight to the USB page with Prev disabled, waiting for the user's Next.
    steps start page nav nobox page
    e2e_expect_count "$run/start.out" "page: usb" 2
    e2e_expect_line "$run/start.out" "nav: prev=0 next=1"
    ;;
  once)
    # All three flags, but the two-button page offers no serial type: the wizard waits on the
    # connection-type page. The user's choice and Next then show the network page, and no
    # automatic Next starts a road there on an address the user has not seen.
    steps start page nobox
    steps next "click type IDC_TYPE_NETWORK" "click main IDC_NEXT" "waitpage network" nobox page
    e2e_expect_line "$run/start.out" "page: type"
    e2e_expect_count "$run/next.out" "page: network" 2
    ;;
esac
e2e_drive "$run" "$w" close gone >/dev/null
e2e_finish "$run"
e2e_expect_exit "$run" 1602
e2e_expect_count "$run/wizard.log" "MSGBOX_OnInit" 0
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "$name"
e2e_done "$run"
