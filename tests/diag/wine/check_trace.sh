#!/usr/bin/env bash
# The trace lines reach the debugger output and the box text reaches MessageBoxW.
set -u
probe=$1
err=$(mktemp)
WINEDEBUG=-all,warn+seh,trace+msgbox $WINE_RUN "$probe" 2>"$err" >/dev/null
rc=$?
fail=0
expect() { grep -qF -- "$1" "$err" || { echo "missing: $1"; fail=1; }; }
# Wine logs a debug string under warn:seh, as OutputDebugStringA or as the exception it raises.
expect ':warn:seh:OutputDebugStringA "Tollinder - MonitorExist"'
expect ':warn:seh:OutputDebugStringA "Tollinder - PaperName Label 60x40"'
expect ':warn:seh:dispatch_exception "Tollinder - USB\\VID_1A2B&PID_4D5E\\5&2F1E&0&1\r\n"'
expect 'MSGBOX_OnInit L"AddPrinterDriver Failed - ERROR CODE: 1797\r\n"'
# The long copy line still arrives (its bound is checked natively; Wine shortens what it prints).
expect ':warn:seh:OutputDebugStringA "Tollinder - Copy X.GPD From ppp'
[ $rc -eq 0 ] || { echo "probe exit $rc"; fail=1; }
[ $fail -eq 0 ] || { echo "--- wine stderr"; grep -v '^fixme' "$err" | head -40; }
rm -f "$err"
exit $fail
