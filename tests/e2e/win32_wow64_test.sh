#!/usr/bin/env bash
# The executables a 32-bit installer starts on 64-bit Windows, tried in a 64-bit Wine prefix,
# where a 32-bit program runs under WOW64 as it does on x64 Windows:
#   win32_wow64_test.sh PX_WIN32_TESTS_EXE PREFIX_DIR
# Runs the process tests and the system-folder tests there; they must pass and must have taken
# rundll32 from Sysnative. The prefix is made once (it takes half a minute). An x86_64 build has
# no 32-bit program to try, so there the test reports CTest's skip (exit code 77) with the reason.
set -euo pipefail
tests=$1
export WINEPREFIX=$2 WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The PE header's machine field: 014c for i386, 8664 for x86-64.
pe_offset=$(od -An -tu4 -j60 -N4 "$tests" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$tests" | tr -d ' ')
if [ "$machine" != 014c ]; then
  echo "SKIP: WOW64 runs 32-bit programs only, and this is a 64-bit build (PE machine $machine)"
  exit 77
fi
if [ ! -x /usr/lib/wine/wine64 ]; then
  echo "FAIL: no 64-bit Wine for the WOW64 prefix (package wine64)"
  exit 1
fi
if [ ! -f "$WINEPREFIX/.px-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot --init >"$WINEPREFIX.log" 2>&1 ||
    { echo "FAIL: the 64-bit Wine prefix could not be made: see $WINEPREFIX.log"; exit 1; }
  wineserver -w
  touch "$WINEPREFIX/.px-ready"
fi
status=0
output=$(wine "$tests" --gtest_filter='QuerySystemFolders.*:Win32Processes.*' 2>&1) || status=$?
wineserver -k >/dev/null 2>&1 || true
echo "$output" | tr -d '\r'
[ "$status" = 0 ] || { echo "FAIL: the tests failed under WOW64 (exit code $status)"; exit 1; }
echo "$output" | tr -d '\r' | grep -qx 'rundll32: C:\\windows\\Sysnative\\rundll32.exe' ||
  { echo "FAIL: rundll32 was not taken from Sysnative: not under WOW64?"; exit 1; }
echo "PASS: under WOW64 the native rundll32 is started from Sysnative"
