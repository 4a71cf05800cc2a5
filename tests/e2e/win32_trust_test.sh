#!/usr/bin/env bash
# What a standard user can write, against px-installer.exe run as an administrator under Wine
# (run it through scripts/wine-ctest.sh, which provides the prefix and the display):
#   win32_trust_test.sh PX_INSTALLER_EXE PX_CAPTURE_EXE WINDOW_PROBE_EXE PLANTED_WINSPOOL_DRV
#                       OUTPUT_DIR
# 1. A winspool.drv planted beside the program, with Wine told to prefer a DLL in the program's
#    folder as Windows does for a DLL that is no KnownDLL: it is never loaded, and the run goes
#    as usual (/log relative to the current folder).
# 2. Global\px-installer.quiet made first by someone else, with a DACL that grants nothing, and
#    held: an unattended run is not turned away. Its /log is a hard link to another file: that
#    file stays as it was. A /log whose folder is a link to another folder: nothing is made or
#    moved there (a full px.log stays where it is), and the run ends as usual.
# 3. A quiet command line it does not understand: no box, exit code 87, the reason in the log.
# 4. px-capture, elevated as Wine's user is: into a folder that exists it writes nothing; into a
#    new one it copies the installer's log; a quiet line it does not understand ends with 87.
set -euo pipefail
exe=$1 capture=$2 probe=$3 planted=$4 out=$5
rm -rf "$out"
mkdir -p "$out/program"
cp "$exe" "$out/program/"
cp -r "$(dirname "$exe")/PX" "$out/program/"
cp "$planted" "$out/program/winspool.drv"
installer="$out/program/$(basename "$exe")"
default_log="$WINEPREFIX/drive_c/ProgramData/px-installer/px-installer.log"

fail() {
  echo "FAIL: $*" >&2
  for f in "$out/run.log" "$default_log"; do [ -f "$f" ] && { echo "$f:" >&2; tail -n 5 "$f" >&2; }; done
  [ -n "${squatter:-}" ] && kill "$squatter" 2>/dev/null
  exit 1
}

timeout 60 wineserver -w || true
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

# 1. The planted DLL. /wait 0: one detection pass after the five-second delay, then exit 2.
status=0
(cd "$out" && WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winspool.drv=n,b" \
  timeout 60 wine "$installer" /quiet /wait 0 /log run.log) || status=$?
ls "$out/program" | grep -qi '\.loaded$' && fail "the planted winspool.drv was loaded"
[ "$status" = 2 ] || fail "the run beside the planted DLL ended with $status, expected 2"
tail -n 1 "$out/run.log" | grep -q $'\tExit\t2\t' || fail "no log in the current folder"

# 2. The squatted name and the hard link.
printf 'not a log\n' >"$out/other.txt"
ln "$out/other.txt" "$out/linked.log"
wine "$probe" squat 'Global\px-installer.quiet' 30 >"$out/squat.txt" &
squatter=$!
for _ in $(seq 50); do grep -q held "$out/squat.txt" 2>/dev/null && break; sleep 0.2; done
grep -q held "$out/squat.txt" || fail "the squatter did not take the name"
status=0
timeout 60 wine "$installer" /quiet /wait 0 /log "$(winepath -w "$out/linked.log")" || status=$?
kill "$squatter" 2>/dev/null || true
squatter=
[ "$status" = 2 ] || fail "the run beside a squatted name ended with $status, expected 2"
[ "$(cat "$out/other.txt")" = "not a log" ] || fail "the file behind the hard link was written"

# The folder that is a link, with a log past a megabyte where it points.
mkdir -p "$out/elsewhere"
head -c 1200000 /dev/zero | tr '\0' x >"$out/elsewhere/px.log"
ln -sfn "$out/elsewhere" "$out/logs"
status=0
timeout 60 wine "$installer" /quiet /wait 0 /log "$(winepath -w "$out")\logs\px.log" || status=$?
[ "$status" = 2 ] || fail "the run with its log folder a link ended with $status, expected 2"
[ "$(ls "$out/elsewhere")" = px.log ] || fail "the run made files where the link points"
[ "$(stat -c %s "$out/elsewhere/px.log")" = 1200000 ] || fail "the log where the link points changed"

# 3. A quiet line with a typing error, in the default log. A box would block until the timeout.
status=0
timeout 30 wine "$installer" /wiat 600 /quiet || status=$?
[ "$status" = $((87 % 256)) ] || fail "/wiat 600 /quiet ended with $status, expected 87"
tail -n 2 "$default_log" | grep -q $'\tMessage\tpx-installer\tunknown argument: /wiat$' ||
  fail "the default log does not say why"
tail -n 1 "$default_log" | grep -q $'\tExit\t87\t' || fail "the default log has no exit code 87"
# 4. px-capture.
mkdir -p "$out/existing"
status=0
timeout 60 wine "$capture" "$(winepath -w "$out/existing")" /quiet || status=$?
[ "$status" = 1 ] || fail "px-capture into a folder that exists ended with $status, expected 1"
[ -z "$(ls -A "$out/existing")" ] || fail "px-capture wrote into a folder that existed"
timeout 60 wine "$capture" "$(winepath -w "$out/capture")" /quiet || fail "px-capture failed"
cmp -s "$default_log" "$out/capture/px-installer.log" || fail "px-capture did not copy the log"
status=0
timeout 30 wine "$capture" /quiet /? || status=$?
[ "$status" = 87 ] || fail "px-capture /quiet /? ended with $status, expected 87"
echo "PASS: planted DLL not loaded, squatted name ignored, hard-linked log and linked folder left" \
  "alone, 87 quietly;" \
  "px-capture into new folders only"
