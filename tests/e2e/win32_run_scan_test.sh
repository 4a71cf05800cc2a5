#!/usr/bin/env bash
# End-to-end test of the start of a run of px-installer.exe under Wine on a virtual display (run
# it through scripts/wine-ctest.sh, which provides the prefix and the display):
#   win32_run_scan_test.sh PX_INSTALLER_EXE WINDOW_PROBE_EXE OUTPUT_DIR
# Starts the installer with a Chinese UI language and lets it run start-up, the five dots and
# the first detection passes. Wine's WMI lists no USB printer, so the installer scans on. About
# 7 s after its window appeared, the labels' texts are read back from the window and a
# screenshot is checked (win32_screenshot_check.sh); then the window is closed as its close
# button does, and the program must end with exit code 0.
set -euo pipefail
exe=$1 probe=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/win32_installer_session.sh
source "$here/win32_installer_session.sh"
caption=QuorilV1.20181108
mkdir -p "$out"
rm -f "$out/win32_run_scan.png" "$out/texts.txt"

# The texts of the window, one line per label: Label2, then Label1(0) ... Label1(14).
provider=本软件由Veldrin股份有限公司提供
wait_text=打印驱动安装中请你耐心等待
dots=启动打印服务.....
detecting=正在检测USB打印机
progress=正在查询USB打印机，请确认打印机是否处于打开状态:

now() { date +%s%N; }
ms_since() { echo $((($(now) - $1) / 1000000)); }

start_installer "$exe"
fail() {
  echo "FAIL: $*" >&2
  if [ -s "$out/texts.txt" ]; then
    echo "the labels' texts:" >&2
    cat -n "$out/texts.txt" >&2
  fi
  kill "$installer" 2>/dev/null || true
  exit 1
}

geometry=$(wine "$probe" wait "$caption" 60 | tr -d '\r') || fail "the window did not appear"
shown=$(now)
echo "window shown after $(ms_since "$started") ms; client area (x y width height): $geometry"

# The dots come at 1 s steps from start-up, detection starts with the sixth tick (about 5 s):
# 7 s after the window appeared every dot is there and the first passes have run. A loaded
# machine may be late with the detection text, never with a sixth dot.
sleep 7
texts_ok() {
  wine "$probe" texts "$caption" >"$out/texts.txt" || fail "the labels' texts could not be read"
  mapfile -t line <"$out/texts.txt"
  [ "${#line[@]}" = 16 ] || fail "${#line[@]} static controls, expected 16"
  [ "${line[0]}" = "$provider" ] || fail "Label2 reads '${line[0]}'"
  [ "${line[1]}" = "$wait_text" ] || fail "Label1(0) reads '${line[1]}'"
  [ "${line[2]}" = "$dots" ] || fail "Label1(1) reads '${line[2]}', expected '$dots'"
  for i in $(seq 5 15); do
    [ -z "${line[i]}" ] || fail "Label1($((i - 1))) reads '${line[i]}', expected nothing"
  done
  case ${line[3]} in
    "$detecting") [ -z "${line[4]}" ] || fail "Label1(3) reads '${line[4]}' before any pass" ;;
    "$progress"*) ;;  # a pass over the associations Wine lists; Label1(3) holds the last one
    "") return 1 ;;
    *) fail "Label1(2) reads '${line[3]}'" ;;
  esac
}
until texts_ok; do
  [ "$(ms_since "$shown")" -lt 30000 ] || fail "no detection text 30 s after the window appeared"
  sleep 0.5
done
echo "texts read $(ms_since "$shown") ms after the window appeared:"
cat -n "$out/texts.txt"

import -window root "$out/win32_run_scan.png"
# shellcheck disable=SC2086
"$here/win32_screenshot_check.sh" "$out/win32_run_scan.png" $geometry 2 ||
  fail "the screenshot does not show the scanning window ($out/win32_run_scan.png)"

close_installer "$probe" "$caption"
echo "PASS: five dots, detection running, screenshot checked, closed, exit code 0"
