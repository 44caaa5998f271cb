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
  "main 1001|上一步|Prev"
  "main 1002|下一步|Next"
  "language 1006|中文|Chinese"
  "language 1007|英语|English"
  "type 1008|  有线网络 - 使用网线将打印机连接到您的网络|  Cable network - use cable connect the printer to your network"
  "type 1009|  USB - 使用USB数据线将打印机连接到您的计算机|  USB - use USB cable to connect the printer to your computer"
  "serial 1019|串口：|Com Port:"
  "network 1020|请输入IP地址：|Please Input IP Address:"
  "parallel 1021|并口：|Lpt Port:"
  "usb 1022|USB口：|Usb Port:"
  "usb 1023|如果您不知道该如何选择USB端口，请点击搜索USB|If you don't know how to choose a USB port, please click on the search"
  "usb 1024|搜索USB|SEARCH USB"
  "type 11009|有线网络 - 使用网线将打印机连接到您的网络|Cable network - use cable connect the printer to your network"
  "type 11008|USB - 使用USB数据线将打印机连接到您的计算机|USB - use USB cable to connect the printer to your computer"
  "network 11008|请输入IP地址：|Please Input IP Address:"
  "usb 11008|USB口：|Usb Port:"
)
kept="main 1004"

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
e2e_drive "$run" "window $name" page nav "checked language 1006" texts >"$run/chinese.out"
e2e_drive "$run" "window $name" "click language 1007" idle page "checked language 1006" "checked language 1007" \
  texts >"$run/english.out"
e2e_drive "$run" "window $name" "click language 1006" idle page "checked language 1006" texts >"$run/back.out"
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
e2e_expect_line "$run/chinese.out" "checked: language 1006 1"
e2e_expect_line "$run/english.out" "checked: language 1006 0"
e2e_expect_line "$run/english.out" "checked: language 1007 1"
e2e_expect_line "$run/back.out" "checked: language 1006 1"
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
