#!/usr/bin/env bash
# A platform call of px-installer.exe failing for real under Wine, against the same failure on
# the simulated PC (run it through scripts/wine-ctest.sh, which provides the prefix, the display
# and PX_SIM):
#   win32_faults_test.sh PX_INSTALLER_EXE WINDOW_PROBE_EXE OUTPUT_DIR
# With Wine's WMI provider (wbemprox) switched off, the first detection pass of an unattended
# run cannot reach WMI: Windows' COM refuses the locator with an HRESULT. A folder where the
# unattended lock's file goes (Wine has no private namespaces for its mutex) makes the lock
# fail too. The built-in machine with its lock and its first WMI query failing is the simulated
# twin. Both must go on past the lock with a warning naming the call, and end the same way:
# exit code 6, a message naming the WMI call and its HRESULT, then "End error" and the exit
# line; no window, and no box shown on the screen (an unattended run only logs its boxes).
set -euo pipefail
exe=$1 probe=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
px_sim=${PX_SIM:-$here/../../build/linux/px-sim}
caption=QuorilV1.20181108
[ -x "$px_sim" ] || { echo "FAIL: no px-sim at $px_sim (build the Linux tree or set PX_SIM)" >&2; exit 1; }

# The logs' folder is private: the installer writes no log where another user could plant one.
rm -rf "$out"
mkdir -p "$out/logs"
chmod 700 "$out/logs"
sim_log="$out/logs/sim.log" wine_log="$out/logs/wine.log"

fail() {
  echo "FAIL: $*" >&2
  for f in "$sim_log" "$wine_log"; do [ -f "$f" ] && { echo "$f:" >&2; cat "$f" >&2; }; done
  [ -n "${installer:-}" ] && kill "$installer" 2>/dev/null
  exit 1
}
# A log line without its time: kind and fields.
untimed() { cut -f 2- | tr -d '\r'; }

# The simulated PC: the built-in machine, its lock refused and its first WMI query timing out.
mkdir -p "$out/machine"
cp "$here/../../machines/default/"* "$out/machine/"
printf '\n[[faults]]\ncall = "%s"\nnth = 1\nerror = %s\n' CreateMutex 6 ExecQuery 0x80041069 \
  >>"$out/machine/machine.toml"
sim_status=0
"$px_sim" run --instant --view none "$out/machine" --args "/quiet /wait 2 /log $sim_log" \
  >"$out/sim.out" 2>&1 || sim_status=$?
[ "$sim_status" = 6 ] || fail "px-sim ended with $sim_status, expected 6: $(cat "$out/sim.out")"

# Wine: the same run with WMI's provider disabled and a folder in the lock file's place.
timeout 60 wineserver -w || true
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}wbemprox=d"
lock_in_the_way="$WINEPREFIX/drive_c/ProgramData/px-installer/quiet.lock"
mkdir -p "$lock_in_the_way"
trap 'rmdir "$lock_in_the_way" 2>/dev/null || true' EXIT
wine "$exe" /quiet /wait 2 /log "$(winepath -w "$wine_log")" &
installer=$!
if wine "$probe" wait "$caption" 3 >/dev/null; then fail "a window was shown"; fi
status=0
wait "$installer" || status=$?
installer=
[ "$status" = 6 ] || fail "px-installer.exe ended with $status, expected 6"

# The same warning, and the same ending: the box that names the refused call, then the run's end
# and its exit code.
for log in "$sim_log" "$wine_log"; do
  [ -f "$log" ] || fail "no log at $log"
  untimed <"$log" | grep -qE $'^Warning\tunattended lock: Create(Mutex|File)W: 0x8[0-9A-F]{7}' ||
    fail "$log: no warning naming the refused lock"
  tail -n 3 "$log" | untimed >"$log.end"
  sed -n 1p "$log.end" | grep -qE $'^Message\tpx-installer\tWMI [A-Za-z\\ ]+: 0x8[0-9A-F]{7}' ||
    fail "$log: the third line from the end is not a box naming a WMI call and its HRESULT"
done
diff <(sed 1d "$sim_log.end") <(sed 1d "$wine_log.end") >/dev/null ||
  fail "the two runs end differently: $(sed 1d "$sim_log.end" | tr '\n' ' ')/ $(sed 1d "$wine_log.end" | tr '\n' ' ')"
[ "$(sed -n 2p "$wine_log.end")" = $'End\terror' ] || fail "no \"End error\" line"
[ "$(sed -n 3p "$wine_log.end")" = $'Exit\t6\ta system call failed' ] || fail "no exit line with 6"
echo "PASS: exit code 6 on both; Wine: $(sed -n 1p "$wine_log.end" | cut -f 3); px-sim: $(sed -n 1p "$sim_log.end" | cut -f 3)"
