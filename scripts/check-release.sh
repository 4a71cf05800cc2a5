#!/usr/bin/env bash
# What can be checked of a release package without running it:
#   scripts/check-release.sh ZIP [CA]
# ZIP is px-installer-<version>-win32.zip (the product, i686) or -win64.zip (the x86_64 test
# build). Checks that it holds exactly the installer's files, that the driver package in it is
# the repository's, and for each program: the PE format of its processor, imports of Windows'
# own DLLs only, a manifest naming the same processor (and, for the installer, asking for
# administrator rights), and, when CA names a CA certificate (PEM), an Authenticode signature
# that verifies against it. Each failure is one line; the exit code is 1 if any check failed.
set -euo pipefail
zip=${1:?usage: check-release.sh ZIP [CA]} ca=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
failures=0
fail() { echo "check-release: FAIL: $*" >&2; failures=$((failures + 1)); }

case "$zip" in
  *-win32.zip) format=pei-i386 objdump=i686-w64-mingw32-objdump manifest_arch=x86 ;;
  *-win64.zip) format=pei-x86-64 objdump=x86_64-w64-mingw32-objdump manifest_arch=amd64 ;;
  *) echo "check-release: $zip is not a px-installer-<version>-win32/win64.zip" >&2; exit 1 ;;
esac
command -v "$objdump" >/dev/null || { echo "check-release: $objdump is missing (binutils-mingw-w64)" >&2; exit 1; }

top=$(basename "$zip" .zip)
listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$top/PX/PX.inf" "$top/PX/PX58.GPD" "$top/PX/PX80.GPD" \
  "$top/PX/PXCOMMON.GPD" "$top/README.txt" \
  "$top/px-capture.exe" "$top/px-installer.exe" | sort)
[ "$listing" = "$expected" ] || fail "the package holds"$'\n'"$listing"$'\n'"expected"$'\n'"$expected"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
for file in PX.inf PX58.GPD PX80.GPD PXCOMMON.GPD; do
  cmp -s "$work/$top/PX/$file" "$here/../PX/$file" || fail "PX/$file differs from the repository's"
done

# The DLLs the programs may import: KnownDLLs, which Windows never looks for beside a program,
# so that none a user could plant there loads (winspool.drv, which is none, is loaded at run
# time from the system folder).
windows_dlls=" advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll
  user32.dll "
for exe in "$work/$top"/*.exe; do
  name=$(basename "$exe")
  headers=$("$objdump" -p "$exe" 2>&1) || { fail "$name: $objdump cannot read it"; continue; }
  grep -q "file format $format\$" <<<"$headers" || fail "$name: not $format ($(grep -m1 'file format' <<<"$headers"))"
  imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
  for dll in $imports; do
    [[ "$windows_dlls" == *[[:space:]]$dll[[:space:]]* ]] || fail "$name imports $dll"
  done
  # The manifest is UTF-8 text in the resources; its first assemblyIdentity is the program's.
  manifest=$(tr '\r\n' '  ' <"$exe" | grep -ao '<assembly xmlns=.*</assembly>' | head -n 1 || true)
  identity=$(grep -o '<assemblyIdentity [^>]*>' <<<"$manifest" | head -n 1 | tr -s ' ' || true)
  [[ "$identity" == *"processorArchitecture=\"$manifest_arch\""* ]] ||
    fail "$name: no manifest naming processorArchitecture=\"$manifest_arch\" (${identity:-none})"
  if [ "$name" = px-installer.exe ] &&
    [[ "$manifest" != *'requestedExecutionLevel level="requireAdministrator"'* ]]; then
    fail "$name: the manifest does not ask for administrator rights"
  fi
  if [ -n "$ca" ]; then
    bash "$here/sign.sh" verify "$exe" "$ca" || fail "$name: signature"
  fi
  echo "$name: $format, $(stat -c %s "$exe") bytes, imports $(echo $imports)"
done
[ -n "$ca" ] || echo "signatures not checked: no CA given"
[ "$failures" = 0 ] || exit 1
echo "check-release: $(basename "$zip") passed"
