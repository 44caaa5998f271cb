#!/usr/bin/env bash
# Configuration that would corrupt the spooler is refused before the road changes anything:
# a printer name with ',' or '\', a path as the driver prefix, a name too long for the spooler,
# an invalid IPAddress (also 0.0.0.0 and multicast, which no printer can have). Each run is
# unattended (all three skip flags, network); it shows one box naming the key in the current language, ends with 1603, and the spooler's listing is the same
# after the run as before it.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
long=$(printf 'L%.0s' $(seq 300))
# case | language | PrnName | Prefix | IPAddress | the box's text
cases=(
  "comma|ENG|E2E Acc,Label\\X $tag|LBL||config.ini: PrnName must not contain a comma (,) or a backslash (\\). - ERROR CODE: 1801\\r\\n"
  "prefix|ENG|E2E Trav $tag|..\\..\\TRAV||config.ini: Prefix may hold only letters, digits, _ and -. - ERROR CODE: 123\\r\\n"
  "long|CHN|$long$tag|LBL||config.ini：PrnName 太长（最多 215 个字符）。 - ERROR CODE: 206\\r\\n"
  "address|ENG|E2E Addr $tag|LBL|10.1.2|config.ini: IPAddress is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200). - ERROR CODE: 87\\r\\n"
  "nohost|ENG|E2E NoHost $tag|LBL|0.0.0.0|config.ini: IPAddress is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200). - ERROR CODE: 87\\r\\n"
  "multicast|ENG|E2E Multicast $tag|LBL|239.1.2.3|config.ini: IPAddress is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200). - ERROR CODE: 87\\r\\n"
)
runs=()
for entry in "${cases[@]}"; do
  IFS='|' read -r label language printer prefix address text <<<"$entry"
  run=$(e2e_layout "refused-$label" <<EOF2
[ARGS]
Caption=E2E Refused $label $tag
PrnName=$printer
Prefix=$prefix
DefaultLanguage=$language
DefaultPorttype=ETH
IPAddress=$address
[SKIP]
Language=1
Port=1
AutoInstall=1
EOF2
)
  runs+=("$run")
  e2e_probe "$run" "$run/before.out"
  e2e_start "$run"
  e2e_drive "$run" "window E2E Refused $label $tag" box gone >/dev/null
  e2e_finish "$run"
  e2e_probe "$run"
  e2e_expect_exit "$run" 1603
  e2e_expect_line "$run/drive.out" "box: ERROR"
  e2e_expect_line "$run/drive.out" "box text: $text"
  e2e_expect_count "$run/wizard.log" "MSGBOX_OnInit" 1
  cmp -s "$run/before.out" "$run/probe.out" ||
    e2e_fail "$label: the spooler changed: $(diff "$run/before.out" "$run/probe.out" | tr '\n' ' ')"
done
e2e_done "${runs[@]}"
