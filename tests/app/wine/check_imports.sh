#!/usr/bin/env bash
# The exe is a PE of the build's width whose import table names only KnownDLLs:
# it runs elevated from folders where anyone may drop a DLL of any other name.
set -u
exe=$1; objdump=$2; width=$3
fail=0
format=$("$objdump" -f "$exe" | sed -n 's/.*file format //p')
case "$width" in
  win32) [ "$format" = pei-i386 ] || { echo "not a PE32 i386: $format"; fail=1; } ;;
  win64) [ "$format" = pei-x86-64 ] || { echo "not a PE32+ x86-64: $format"; fail=1; } ;;
esac
known=" advapi32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
  rpcrt4.dll setupapi.dll shell32.dll shlwapi.dll user32.dll ws2_32.dll "
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no import table found"; fail=1; }
for dll in $dlls; do
  case "$known" in *" $dll "*) ;; *) echo "imports a DLL that is not a KnownDLL: $dll"; fail=1 ;; esac
done
echo "imports: $(echo $dlls)"
exit $fail
