#!/usr/bin/env bash
# End-to-end smoke test of px-installer.exe under Wine on a virtual display (run it through
# scripts/wine-ctest.sh, which provides the prefix and the display):
#   win32_screenshot_test.sh PX_INSTALLER_EXE WINDOW_PROBE_EXE OUTPUT_DIR
# Starts the installer with a Chinese UI language, waits for its window, takes a screenshot of
# the screen and checks it (win32_screenshot_check.sh), closes the window as its close button
# does, and expects the program to end with exit code 0.
set -euo pipefail
exe=$1 probe=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/win32_installer_session.sh
source "$here/win32_installer_session.sh"
caption=QuorilV1.20181108
mkdir -p "$out"
rm -f "$out/win32_screenshot.png"

start_installer "$exe"
fail() {
  echo "FAIL: $*" >&2
  kill "$installer" 2>/dev/null || true
  exit 1
}

geometry=$(wine "$probe" wait "$caption" 60 | tr -d '\r') || fail "the window did not appear"
echo "client area (x y width height): $geometry"
# Start-up paints at once; a moment more lets the display server catch up.
sleep 1
import -window root "$out/win32_screenshot.png"
# shellcheck disable=SC2086
"$here/win32_screenshot_check.sh" "$out/win32_screenshot.png" $geometry ||
  fail "the screenshot does not show the start-up window ($out/win32_screenshot.png)"

close_installer "$probe" "$caption"
echo "PASS: window shown, screenshot checked, closed, exit code 0"
