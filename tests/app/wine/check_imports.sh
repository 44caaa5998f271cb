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
# Functions some supported Windows lack (7 without KB2533623, 10 before 1709): importing one
# stops the exe from starting there at all, so they are only ever looked up at run time.
# Vista brought the private namespaces the install lock uses where it can.
forbidden="SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory IsWow64Process2
  CreateBoundaryDescriptorW AddSIDToBoundaryDescriptor DeleteBoundaryDescriptor CreatePrivateNamespaceW
  OpenPrivateNamespaceW ClosePrivateNamespace"
functions=$("$objdump" -p "$exe" | sed -n '/^The Import Tables/,/^\(The .*Tables\|PE File Base Relocations\)/p' |
  sed -n 's/^\s*[0-9a-fA-F]\+\s\+[0-9]\+\s\+\([A-Za-z_][A-Za-z0-9_@]*\)$/\1/p' | sort -u)
# The listing must be read at all: every build imports GetProcAddress.
echo "$functions" | grep -qx GetProcAddress || { echo "no imported function names found"; fail=1; }
for name in $forbidden; do
  echo "$functions" | grep -qx "$name" && { echo "imports a function some supported Windows lack: $name"; fail=1; }
done
echo "imports: $(echo $dlls)"
exit $fail
