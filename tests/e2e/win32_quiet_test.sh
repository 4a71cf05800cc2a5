#!/usr/bin/env bash
# End-to-end test of an unattended run of px-installer.exe under Wine (run it through
# scripts/wine-ctest.sh, which provides the prefix and the display):
#   win32_quiet_test.sh PX_INSTALLER_EXE WINDOW_PROBE_EXE OUTPUT_DIR
# "/quiet /wait 6" runs start-up, the five-second delay and detection passes with no window;
# Wine's WMI lists no USB printer, so after the wait it ends with exit code 2, about 11 s after
# it started, and its log holds the run. A second /quiet run started meanwhile finds the first
# one's lock (a lock file under Wine, which lacks private namespaces) and ends at once with
# 1618, noted in the default log under ProgramData.
set -euo pipefail
exe=$1 probe=$2 out=$3
caption=QuorilV1.20181108
mkdir -p "$out"
log="$out/quiet.log"
default_log="$WINEPREFIX/drive_c/ProgramData/px-installer/px-installer.log"
rm -f "$log" "$default_log"

now() { date +%s%N; }
ms_since() { echo $((($(now) - $1) / 1000000)); }
fail() {
  echo "FAIL: $*" >&2
  for f in "$log" "$default_log"; do [ -f "$f" ] && { echo "$f:" >&2; cat "$f" >&2; }; done
  [ -n "${installer:-}" ] && kill "$installer" 2>/dev/null
  exit 1
}

# Wine takes the UI language from the environment when its server starts.
timeout 60 wineserver -w || true
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
started=$(now)
wine "$exe" /quiet /wait 6 /log "$(winepath -w "$log")" &
installer=$!

# While it runs: no window appears, and a second unattended run is turned away.
if wine "$probe" wait "$caption" 3 >/dev/null; then fail "a window was shown"; fi
kill -0 "$installer" 2>/dev/null || fail "the first run ended within 3 s"
second=0
# Bounded: should it miss the mutex on a very slow machine, it would wait for a printer.
timeout 60 wine "$exe" -QUIET /wait 1 || second=$?
# Wine hands Linux the exit code's low byte only: 1618 arrives as 82; the log names it whole.
[ "$second" = $((1618 % 256)) ] || fail "the second run ended with $second, expected 1618"

status=0
wait "$installer" || status=$?
elapsed=$(ms_since "$started")
installer=
[ "$status" = 2 ] || fail "exit code $status, expected 2"
# 5 s of start-up dots and passes at 5 to 11 s; Wine's own start adds a little.
[ "$elapsed" -ge 10900 ] && [ "$elapsed" -le 30000 ] ||
  fail "the run took $elapsed ms, expected about 11000"

# The header is the first line; its time is when it was written, 0 or a little more on a busy PC.
head -n 1 "$log" | grep -qE $'^[0-9]+\tStart\tpx-installer ' || fail "no header line"
grep -q $'\tLabel1(1)\t启动打印服务.....$' "$log" || fail "no fifth dot in the log"
# The command interpreter runs without the AutoRun commands of the user's profile.
grep -q $'\tLaunch\thidden\tcmd /d /c net start spooler$' "$log" ||
  fail "the spooler's start runs cmd without /d"
grep -q $'\tLabel1(2)\t正在检测USB打印机$' "$log" || fail "no detection in the log"
grep -q $'\tEnd\tunload$' "$log" || fail "no End line"
tail -n 1 "$log" | grep -q $'\tExit\t2\tno supported printer within the wait' ||
  fail "the log does not end with exit code 2"
grep -q $'\tMessage\t' "$log" && fail "a message box was shown"
tail -n 1 "$default_log" | grep -q $'\tExit\t1618\t' || fail "the second run's log has no 1618"
echo "PASS: no window, exit code 2 after $elapsed ms, log written, second run 1618"
