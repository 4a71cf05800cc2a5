#!/usr/bin/env bash
# The simulated registry checked against Wine's (run through scripts/wine-ctest.sh):
#   win32_capture_round_trip.sh PX_CAPTURE_EXE PORT_SEARCH_EXE OUTPUT_DIR [PX_SIM]
# For each registry scenario: the two keys the port search reads are deleted and the scenario
# is imported with regedit /S; the installer's port search runs on the Win32 backend
# (PORT_SEARCH_EXE), px-capture.exe captures the PC into a folder, whose two .reg files must
# be byte for byte what regedit /E exports of the same keys, and px-sim port must name the same
# port on that folder and on its two .reg files. px-sim (a Linux program) comes from
# the fourth argument, else PX_SIM, else build/linux/px-sim; without it the test fails.
set -euo pipefail
capture=$1 search=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
px_sim=${4:-${PX_SIM:-$here/../../build/linux/px-sim}}
if [ ! -x "$px_sim" ]; then
  echo "FAIL: no px-sim at $px_sim (build the Linux tree or set PX_SIM)"
  exit 1
fi
rm -rf "$out" && mkdir -p "$out"
# A Chinese Windows (code page 936), as the customers' are, when the locale is there.
if locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
fi

guid='{28d78fad-5a12-11d1-ae5b-0000f803a8c2}'
class_key="HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\$guid"
usbprint_key='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\usbprint\Enum'

# A printer interface as Windows registers it: KEY_NAME is the device path between "##?#" and
# the class, e.g. USB#VID_1A86&PID_A798#5&2A1B3C4D&0&3.
interface() {  # KEY_NAME PORT
  local instance=${1//#/\\\\}
  printf '[%s\\##?#%s#%s]\n"DeviceInstance"="%s"\n\n' "$class_key" "$1" "$guid" "$instance"
  printf '[%s\\##?#%s#%s\\#]\n"SymbolicLink"="\\\\\\\\?\\\\%s#%s"\n\n' "$class_key" "$1" "$guid" \
    "$1" "$guid"
  printf '[%s\\##?#%s#%s\\#\\Device Parameters]\n"Port Number"=dword:%08x\n"Base Name"="USB"\n\n' \
    "$class_key" "$1" "$guid" "$2"
}
# usbprint's list of the devices it serves: one DEVICE (USB\VID_...\serial) a value.
usbprint() {
  local i=0 device
  printf '[%s]\n' "$usbprint_key"
  for device in "$@"; do
    printf '"%d"="%s"\n' "$i" "${device//\\/\\\\}"
    i=$((i + 1))
  done
  printf '"Count"=dword:%08x\n"NextInstance"=dword:%08x\n\n' "$i" "$i"
}

scenario_port1() {
  interface 'USB#VID_1A86&PID_A798#5&2A1B3C4D&0&3' 1
  usbprint 'USB\VID_1A86&PID_A798\5&2A1B3C4D&0&3'
}
# With a value of every type the export writes in its own way beside usbprint's.
scenario_port7() {
  interface 'USB#VID_03F0&PID_0517#CN0B1' 2
  interface 'USB#VID_1A86&PID_A798#6&1C4B2A7&0&2' 7
  usbprint 'USB\VID_03F0&PID_0517\CN0B1' 'USB\VID_1A86&PID_A798\6&1C4B2A7&0&2'
  cat <<REG
[$usbprint_key]
@="default"
"Quote \" and \\\\"="a\"b\\\\c"
"Expand"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,00,00,00
"Multi"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00
"Binary"=hex:$(printf '%02x,' $(seq 0 63))00
"Qword"=hex(b):01,02,03,04,05,06,07,08
"None"=hex(0):
"Empty"=""
"打印机"="中文"

[$usbprint_key\Sub]
"x"=dword:00000002

REG
}
scenario_port256() {
  interface 'USB#VID_1A86&PID_5740#A1B2C3D4' 256
  usbprint 'USB\VID_1A86&PID_5740\A1B2C3D4'
}
# Sorted without regard to case the lower-case key comes first, byte by byte the other.
scenario_two_printers_case() {
  interface 'usb#vid_1a86&pid_a798#abc1' 4
  interface 'USB#VID_1A86&PID_A798#ABC2' 3
  usbprint 'USB\VID_1A86&PID_A798\ABC2' 'usb\vid_1a86&pid_a798\abc1'
}
scenario_stale_interface() {
  interface 'USB#VID_1A86&PID_A798#UNPLUGGED' 5
  interface 'USB#VID_1A86&PID_A798#PLUGGED' 2
  usbprint 'USB\VID_1A86&PID_A798\PLUGGED'
}
scenario_2000_interfaces() {
  local i
  for ((i = 1; i <= 2000; i++)); do
    if ((i == 1234)); then
      interface "USB#VID_1A86&PID_A798#SN$i" "$i"
    else
      interface "USB#VID_04B8&PID_0E15#SN$i" "$i"
    fi
  done
  usbprint 'USB\VID_04B8&PID_0E15\SN7' 'USB\VID_1A86&PID_A798\SN1234'
}
# A serial number outside ASCII: the installer reads key names in the ANSI code page, px-sim
# in the captured locale's.
scenario_chinese_serial() {
  interface 'USB#VID_1A86&PID_A798#打印机1' 9
  usbprint 'USB\VID_1A86&PID_A798\打印机1'
}
scenario_no_interface_key() {
  usbprint 'USB\VID_1A86&PID_A798\5&2A1B3C4D&0&3'
}

import() {  # FILE: UTF-8 text made a UTF-16 .reg file as regedit saves it
  local reg="$1.reg"
  { printf '\xFF\xFE'; { printf 'Windows Registry Editor Version 5.00\n\n'; cat "$1"; } |
    sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  wine regedit /S "$(winepath -w "$reg")"
}

port_of() { grep -a '^PortName' | tr -d '\r' | cut -f2; }

failures=0
for name in port1 port7 port256 two_printers_case stale_interface 2000_interfaces \
    chinese_serial no_interface_key; do
  dir="$out/$name"
  mkdir -p "$dir"
  { printf '[-%s]\n\n[-%s]\n\n' "$class_key" "$usbprint_key"; "scenario_$name"; } >"$dir/scenario"
  import "$dir/scenario"
  win32=$(wine "$search" | port_of) || true
  # Run as an administrator, px-capture writes only into a folder it makes itself.
  rm -rf "$dir/capture"
  wine "$capture" "$(winepath -w "$dir/capture")" /quiet
  # The files as regedit exports the same keys (none for a key that does not exist).
  for key in printers usbprint; do
    [ $key = printers ] && path=$class_key || path=$usbprint_key
    wine regedit /E "$(winepath -w "$dir/regedit-$key.reg")" "$path" 2>/dev/null || true
    if [ -f "$dir/regedit-$key.reg" ] && ! cmp -s "$dir/regedit-$key.reg" "$dir/capture/$key.reg"
    then
      echo "FAIL $name: $key.reg differs from regedit's export" >&2
      diff <(iconv -f UTF-16 -t UTF-8 "$dir/regedit-$key.reg") \
        <(iconv -f UTF-16 -t UTF-8 "$dir/capture/$key.reg") | head -20 >&2 || true
      failures=$((failures + 1))
    fi
  done
  sim_folder=$("$px_sim" port "$dir/capture" | port_of) || true
  sim_files=$("$px_sim" port "$dir/capture" --reg "$dir/capture/printers.reg" \
    --reg "$dir/capture/usbprint.reg" | port_of) || true
  if [ -n "$win32" ] && [ "$win32" = "$sim_folder" ] && [ "$win32" = "$sim_files" ]; then
    echo "ok   $name: $win32"
  else
    echo "FAIL $name: Win32 search '$win32', px-sim port on the capture '$sim_folder'," \
      "on its .reg files '$sim_files'" >&2
    "$px_sim" port "$dir/capture" --explain >&2 || true
    failures=$((failures + 1))
  fi
done

# The system's facts as Windows tells them elsewhere.
toml="$out/port1/capture/machine.toml"
version=$(wine cmd /c ver | tr -d '\r' | grep -o '[0-9]*\.[0-9]*\.[0-9]*' || true)
expected=("windows_version = \"$version\"")
if [ "${WINEARCH:-}" = win32 ]; then expected+=('arch = "x86"'); fi
if [ "${LANG:-}" = zh_CN.UTF-8 ]; then expected+=('ui_language = "zh-CN"' 'locale = "zh-CN"'); fi
for line in "${expected[@]}"; do
  grep -qxF "$line" "$toml" || {
    echo "FAIL: machine.toml lacks: $line" >&2
    cat "$toml" >&2
    failures=$((failures + 1))
  }
done

# The capture replays as it stands.
"$px_sim" replay "$out/port1/capture" >"$out/replay.txt" || {
  echo "FAIL: px-sim replay on a capture" >&2
  cat "$out/replay.txt" >&2
  failures=$((failures + 1))
}
# No printer registration is left behind for the tests that follow.
printf '[-%s]\n\n[-%s]\n' "$class_key" "$usbprint_key" >"$out/clean"
import "$out/clean"
[ "$failures" -eq 0 ]
