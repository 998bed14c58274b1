#!/bin/sh
# SkinH.dll must export SkinH_Attach under exactly that name and import
# nothing but Windows' own DLLs (no MinGW runtime beside it).
set -e
dll=$1
dump=$(x86_64-w64-mingw32-objdump -p "$dll")
echo "$dump" | grep -Eq '^[[:space:]]*\[ *[0-9]+\] SkinH_Attach$' || { echo "no export named SkinH_Attach"; exit 1; }
exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -Ec '^[[:space:]]*\[ *[0-9]+\]' || true)
[ "$exports" -eq 1 ] || { echo "expected one export, found $exports"; exit 1; }
for name in $(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
  case $(echo "$name" | tr 'A-Z' 'a-z') in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|msvcrt.dll|advapi32.dll|ntdll.dll|api-ms-win-*) ;;
    *) echo "imports $name"; exit 1 ;;
  esac
done
echo "SkinH.dll: exports SkinH_Attach, imports only system DLLs"
