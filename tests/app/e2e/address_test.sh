#!/usr/bin/env bash
# The network page's address: config.ini's IPAddress replaces the built-in one; a partly filled
# or blank address control is refused with a hint in the current language and the wizard stays
# on the page with nothing installed; so is an address no printer can have (0.0.0.0, multicast),
# with the words config.ini's IPAddress gets; once complete, Next installs on that address
# (exit 0).
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1

tag=$(e2e_tag)
name="E2E Address $tag"
net="10.55.$((RANDOM % 250))"
configured="$net.$((RANDOM % 100 + 1))"
typed="$net.$((RANDOM % 100 + 150))"
run=$(e2e_config "$name" ETH "$configured" '[SKIP]\nLanguage=1\nPort=1\n' | e2e_layout address)
hint="box text: Please enter the printer's complete IP address: four numbers from 0 to 255. - ERROR CODE: 0\\r\\n"
ip="network IDC_IP_ADDRESS"
e2e_start "$run"
e2e_drive "$run" "window $name" "waitpage network" "ip $ip" >"$run/start.out"
e2e_drive "$run" "window $name" "setfield $ip 4" "ip $ip" "click main IDC_NEXT" box nobox page >"$run/partial.out"
e2e_drive "$run" "window $name" "setfield $ip 1" "setfield $ip 2" "setfield $ip 3" \
  "ip $ip" "click main IDC_NEXT" box nobox page >"$run/blank.out"
e2e_drive "$run" "window $name" "setip $ip 0.0.0.0" "click main IDC_NEXT" box nobox page >"$run/nohost.out"
e2e_drive "$run" "window $name" "setip $ip 224.0.0.251" "click main IDC_NEXT" box nobox page >"$run/multicast.out"
e2e_drive "$run" "window $name" "setip $ip $typed" "click main IDC_NEXT" box gone >"$run/install.out"
e2e_finish "$run"

e2e_expect_line "$run/start.out" "ip: $ip $configured"
e2e_expect_line "$run/partial.out" "ip: $ip ${configured%.*}."
e2e_expect_line "$run/blank.out" "ip: $ip ..."
for step in partial blank; do
  e2e_expect_line "$run/$step.out" "$hint"
  e2e_expect_line "$run/$step.out" "page: network"
done
for step in nohost:0.0.0.0 multicast:224.0.0.251; do
  e2e_expect_line "$run/${step%%:*}.out" "box text: ${step#*:} is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200). - ERROR CODE: 87\\r\\n"
  e2e_expect_line "$run/${step%%:*}.out" "page: network"
done
e2e_expect_line "$run/install.out" "box text: Add Printer Successful - $name"
e2e_expect_exit "$run" 0
e2e_probe "$run"
e2e_expect_line "$run/probe.out" "$(e2e_printer_line "$name" "$typed" LBLENG)"
e2e_expect_no_text "$run/probe.out" "$(printf '\t%s\t' "$configured")"
e2e_done "$run"
