#!/usr/bin/env bash
# The DLLs a program imports, read from its PE import directory (and its delay-import one):
#   win32_imports_test.sh OBJDUMP PROGRAM.exe...
# Windows loads an imported DLL that is no KnownDLL from the program's own folder first, before
# the program can restrict the search, so a copy planted beside an elevated program would run
# with its rights. Each program may import only DLLs that are KnownDLLs on every Windows from 7
# to 11 (the intersection of their Session Manager\KnownDLLs lists), and ntdll, which is always
# the system's.
set -euo pipefail
objdump=$1
shift
known=" $(echo advapi32.dll clbcatq.dll comdlg32.dll difxapi.dll gdi32.dll imagehlp.dll imm32.dll \
  kernel32.dll msctf.dll msvcrt.dll normaliz.dll nsi.dll ntdll.dll ole32.dll oleaut32.dll \
  psapi.dll rpcrt4.dll sechost.dll setupapi.dll shell32.dll shlwapi.dll user32.dll wldap32.dll \
  ws2_32.dll) "
status=0
for exe in "$@"; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | tr -d '\r')
  [ -n "$dlls" ] || { echo "FAIL: no imports read from $exe" >&2; status=1; continue; }
  for dll in $dlls; do
    case "$known" in
      *" $dll "*) ;;
      *) echo "FAIL: $(basename "$exe") imports $dll, which is no KnownDLL of Windows 7 to 11" >&2
         status=1 ;;
    esac
  done
  echo "$(basename "$exe"):" $dlls
done
exit $status
