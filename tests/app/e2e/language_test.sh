#!/usr/bin/env bash
# The language page: a click on English relabels every page at once, before any Next (the
# labelled controls on the main window and five pages, the visible labels beside the connection
# types and over the address and the USB list among them, so no page shows a design-time text
# in another language), and a click on Chinese puts every Chinese text back; the page stays, the
# radio buttons follow the click, and the title and caption do not change.
# Closing afterwards installs nothing: exit 1602.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

# page id | Chinese | English
labels=(
  "main IDC_PREV|上一步|Prev"
  "main IDC_NEXT|下一步|Next"
  "language IDC_CHINESE|中文|Chinese"
  "language IDC_ENGLISH|英语|English"
  "type IDC_TYPE_NETWORK|  有线网络 - 使用网线将打印机连接到您的网络|  Cable network - use cable connect the printer to your network"
  "type IDC_TYPE_USB|  USB - 使用USB数据线将打印机连接到您的计算机|  USB - use USB cable to connect the printer to your computer"
  "serial IDC_SERIAL_LABEL|串口：|Com Port:"
  "network IDC_NETWORK_LABEL|请输入IP地址：|Please Input IP Address:"
  "parallel IDC_PARALLEL_LABEL|并口：|Lpt Port:"
  "usb IDC_USB_LABEL|USB口：|Usb Port:"
  "usb IDC_USB_INFO|如果您不知道该如何选择USB端口，请点击搜索USB|If you don't know how to choose a USB port, please click on the search"
  "usb IDC_USB_SEARCH|搜索USB|SEARCH USB"
  "type IDC_LABEL_B|有线网络 - 使用网线将打印机连接到您的网络|Cable network - use cable connect the printer to your network"
  "type IDC_LABEL_A|USB - 使用USB数据线将打印机连接到您的计算机|USB - use USB cable to connect the printer to your computer"
  "network IDC_LABEL_A|请输入IP地址：|Please Input IP Address:"
  "usb IDC_LABEL_A|USB口：|Usb Port:"
)
kept="main IDC_TITLE"

tag=$(e2e_tag)
name="E2E Language $tag"
run=$(e2e_layout language <<EOF2
[ARGS]
Caption=$name
PrnName=$name
Prefix=LBL
DefaultLanguage=CHN
EOF2
)
e2e_start "$run"
e2e_drive "$run" "window $name" page nav "checked language IDC_CHINESE" texts >"$run/chinese.out"
e2e_drive "$run" "window $name" "click language IDC_ENGLISH" idle page "checked language IDC_CHINESE" \
  "checked language IDC_ENGLISH" texts >"$run/english.out"
e2e_drive "$run" "window $name" "click language IDC_CHINESE" idle page "checked language IDC_CHINESE" \
  texts >"$run/back.out"
e2e_drive "$run" "window $name" close gone >/dev/null
e2e_finish "$run"

check_labels() {  # <file> <column: 2 Chinese, 3 English>
  local entry where text
  for entry in "${labels[@]}"; do
    where=${entry%%|*}
    text=$(echo "$entry" | cut -d'|' -f"$2")
    e2e_expect_line "$1" "text: $where $text"
  done
}
check_labels "$run/chinese.out" 2
check_labels "$run/english.out" 3
check_labels "$run/back.out" 2
for out in chinese english back; do
  e2e_expect_line "$run/$out.out" "page: language"
  e2e_expect_line "$run/$out.out" "caption: $name"
done
e2e_expect_line "$run/chinese.out" "nav: prev=0 next=1"
e2e_expect_line "$run/chinese.out" "checked: language IDC_CHINESE 1"
e2e_expect_line "$run/english.out" "checked: language IDC_CHINESE 0"
e2e_expect_line "$run/english.out" "checked: language IDC_ENGLISH 1"
e2e_expect_line "$run/back.out" "checked: language IDC_CHINESE 1"
# The design-time texts stay, in both languages.
IFS='|' read -ra kept_ids <<<"$kept"
for where in "${kept_ids[@]}"; do
  before=$(grep -F "text: $where " "$run/chinese.out")
  after=$(grep -F "text: $where " "$run/english.out")
  [ -n "${before#text: $where }" ] || e2e_fail "no design-time text on $where"
  e2e_expect_eq "$where after English" "$after" "$before"
done

e2e_expect_exit "$run" 1602
e2e_expect_count "$run/wizard.log" "MSGBOX_OnInit" 0
e2e_probe "$run"
e2e_expect_no_text "$run/probe.out" "$name"

e2e_done "$run"
