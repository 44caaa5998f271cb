#!/usr/bin/env bash
# The configuration-manager calls resolve to SETUPAPI.dll and nothing is imported from cfgmgr32.
set -u
exe=$1; objdump=$2
dump=$("$objdump" -p "$exe") || { echo "objdump failed"; exit 1; }
fail=0
if grep -qi 'DLL Name: cfgmgr32' <<<"$dump"; then echo "imports cfgmgr32.dll"; fail=1; fi
# The import table lists each DLL's names after its "DLL Name:" line.
for name in CM_Get_Device_ID_Size CM_Get_Device_IDA CM_Get_Device_ID_ListA SetupDiGetClassDevsA \
    SetupDiGetDeviceInterfaceDetailA SetupDiDestroyDeviceInfoList; do
  dll=$(awk -v n="$name" '/DLL Name:/ {dll=$3} $NF==n {print dll; exit}' <<<"$dump")
  if [ "${dll^^}" != "SETUPAPI.DLL" ]; then echo "$name comes from '${dll}'"; fail=1; fi
done
exit $fail
