#!/usr/bin/env bash
# The executables a 32-bit installer starts on 64-bit Windows, tried in a 64-bit Wine prefix,
# where a 32-bit program runs under WOW64 as it does on x64 Windows:
#   win32_wow64_test.sh PX_WIN32_TESTS_EXE PREFIX_DIR
# Runs the process tests and the system-folder tests there; they must pass and must have taken
# rundll32 from Sysnative. The prefix is made once (it takes half a minute). Without Wine's
# 64-bit loader (package wine64) the test is skipped (exit code 77).
set -euo pipefail
tests=$1
export WINEPREFIX=$2 WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if ! command -v wine64 >/dev/null && [ ! -x /usr/lib/wine/wine64 ]; then
  echo "SKIP: no 64-bit Wine (package wine64)"
  exit 77
fi
if [ ! -f "$WINEPREFIX/.px-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
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
