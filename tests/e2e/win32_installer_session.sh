# shellcheck shell=bash disable=SC2034  # $started is read by the sourcing script
# The start and the end of a run of px-installer.exe under Wine, shared by the end-to-end tests;
# sourced, not run. The sourcing script defines fail MESSAGE (report and exit 1).

# start_installer EXE: starts the program with a Chinese UI language; its process id is left in
# $installer, the time it was started (date +%s%N) in $started. Wine takes the UI language from
# the environment when its server starts, so a server left by an earlier test is let end first.
start_installer() {
  timeout 60 wineserver -w || true
  started=$(date +%s%N)
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$1" &
  installer=$!
}

# close_installer PROBE CAPTION: closes the window as its close button does; the program must
# end within 30 s with exit code 0.
close_installer() {
  wine "$1" close "$2" || fail "the window could not be closed"
  for _ in $(seq 1 300); do
    kill -0 "$installer" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$installer" 2>/dev/null && fail "the program did not end after its window was closed"
  local status=0
  wait "$installer" || status=$?
  [ "$status" = 0 ] || fail "exit code $status, expected 0"
}
