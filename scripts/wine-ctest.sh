#!/usr/bin/env bash
# Runs the CTest suite of a cross build under Wine, in a Wine prefix of the build's own, on a
# virtual X display:  scripts/wine-ctest.sh BUILD_DIR [ctest arguments...]
#
# The loader follows the build. An i686 build (the product) runs under Wine's 32-bit loader in a
# 32-bit prefix; an x86_64 build runs under the 64-bit loader in a 64-bit prefix. Debian's `wine`
# wrapper always picks the 32-bit loader when wine32 is installed, so for an x86_64 build a
# folder of the build's own, put first on PATH, maps `wine` (and the tools that call it:
# wineboot, winepath, regedit) onto /usr/lib/wine/wine64.
#
# The prefix lives in BUILD_DIR/wineprefix and is made once: no Mono/Gecko prompts, no crash
# dialog (a crash would hang until the test's timeout), and the Chinese UI font mapped onto
# WenQuanYi Micro Hei (fonts-wqy-microhei), so that labels and message boxes show their texts
# instead of boxes. Wine's own output while making it goes to BUILD_DIR/wineprefix.log.
#
# A test may report CTest's skip only where the machine forces it: the WOW64 test of an x86_64
# build (WOW64 needs a 32-bit program). Any other skip fails the run. The last line counts the
# suites that ran, passed, were skipped and failed.
set -euo pipefail
die() { echo "wine-ctest: $*" >&2; exit 1; }

[ -f "${1:-}/CMakeCache.txt" ] || die "${1:-(none)} is not a configured build folder"
build=$(cd "$1" && pwd)
shift

system=$(cat "$build"/CMakeFiles/*/CMakeSystem.cmake 2>/dev/null || true)
case "$system" in
  *'CMAKE_SYSTEM_NAME "Windows"'*'CMAKE_SYSTEM_PROCESSOR "x86_64"'*) arch=x86_64 ;;
  *'CMAKE_SYSTEM_NAME "Windows"'*'CMAKE_SYSTEM_PROCESSOR "i686"'*) arch=i686 ;;
  *) die "$build is not a cross build for Windows on i686 or x86_64 (cmake/mingw-*.cmake)" ;;
esac

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$arch" = x86_64 ]; then
  loader=/usr/lib/wine/wine64 bits=64
  export WINEARCH=win64 WINELOADER=$loader
  shims="$build/wine-loader"
  mkdir -p "$shims"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$shims/$name"
    chmod +x "$shims/$name"
  done
  export PATH="$shims:$PATH"
  allowed_skips=win32_wow64_paths
else
  loader=/usr/lib/wine/wine bits=32
  export WINEARCH=win32
  allowed_skips=
fi

[ -x "$loader" ] || die "Wine's $bits-bit loader $loader is missing (packages wine, wine32:i386, wine64)"
if ! version=$("$loader" --version 2>&1); then
  hint=""
  [ "$arch" = i686 ] && hint="; this machine runs no 32-bit program: build for x86_64 (PX_WINE_ROUTE=x86_64 ./dev.sh windows-tests)"
  die "Wine's $bits-bit loader cannot run here ($loader: ${version##*: })$hint"
fi

make_prefix() {
  local ready="$WINEPREFIX/.px-ready" log="$build/wineprefix.log" reg status=0
  [ -f "$ready" ] && return 0
  rm -rf "$WINEPREFIX"
  echo "wine-ctest: making a $bits-bit Wine prefix in $WINEPREFIX ($version; Wine's output: $log)"
  wineboot --init >"$log" 2>&1 || status=$?
  wineserver -w
  # A 64-bit prefix on a machine without 32-bit programs lacks its WOW64 half; the tests need
  # only the 64-bit one, so a prefix that has its registry is used whatever wineboot said.
  [ -f "$WINEPREFIX/system.reg" ] ||
    die "the Wine prefix could not be made (wineboot --init, exit code $status): see $log"
  [ "$status" = 0 ] || echo "wine-ctest: wineboot --init ended with exit code $status (see $log)"
  # regedit reads UTF-16 .reg files, which carry the Chinese face name unharmed.
  reg=$(mktemp --suffix=.reg)
  iconv -f UTF-8 -t UTF-16 >"$reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft YaHei"="WenQuanYi Micro Hei"
"微软雅黑"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=hex(7):77,00,71,00,79,00,2d,00,6d,00,69,00,63,00,72,00,6f,00,68,00,65,00,69,00,2e,00,74,00,74,00,63,00,2c,00,57,00,65,00,6e,00,51,00,75,00,61,00,6e,00,59,00,69,00,20,00,4d,00,69,00,63,00,72,00,6f,00,20,00,48,00,65,00,69,00,00,00,00,00
"MS Shell Dlg"=hex(7):77,00,71,00,79,00,2d,00,6d,00,69,00,63,00,72,00,6f,00,68,00,65,00,69,00,2e,00,74,00,74,00,63,00,2c,00,57,00,65,00,6e,00,51,00,75,00,61,00,6e,00,59,00,69,00,20,00,4d,00,69,00,63,00,72,00,6f,00,20,00,48,00,65,00,69,00,00,00,00,00
"MS Shell Dlg 2"=hex(7):77,00,71,00,79,00,2d,00,6d,00,69,00,63,00,72,00,6f,00,68,00,65,00,69,00,2e,00,74,00,74,00,63,00,2c,00,57,00,65,00,6e,00,51,00,75,00,61,00,6e,00,59,00,69,00,20,00,4d,00,69,00,63,00,72,00,6f,00,20,00,48,00,65,00,69,00,00,00,00,00
REG
  status=0
  wine regedit /S "$(winepath -w "$reg")" >>"$log" 2>&1 || status=$?
  rm -f "$reg"
  wineserver -w
  [ "$status" = 0 ] || die "the Wine prefix's settings could not be imported (regedit, exit code $status): see $log"
  touch "$ready"
}

make_prefix
output="$build/wine-ctest.log"
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build" --output-on-failure --timeout 300 "$@" 2>&1 | tee "$output" ||
  status=$?
wineserver -k >/dev/null 2>&1 || true

# CTest lists the tests that did not run as "  12 - NAME (Skipped)" after its summary.
total=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$output" | tail -n 1)
failed=$(sed -n 's/.*, \([0-9]*\) tests failed out of .*/\1/p' "$output" | tail -n 1)
skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (Skipped)$/\1/p' "$output")
[ -n "$total" ] || die "CTest ran no test (exit code $status): see $output"
forced=0 unexpected=""
for name in $skipped; do
  if [[ " $allowed_skips " == *" $name "* ]]; then
    forced=$((forced + 1))
  else
    unexpected+=" $name"
  fi
done
ran=$((total - forced - $(wc -w <<<"$unexpected")))
echo "wine-ctest: $arch build under Wine's $bits-bit loader: $total suites, $ran ran," \
  "$((ran - failed)) passed, $failed failed, $((total - ran)) skipped"
# A skipped test says why on a line "SKIP: REASON" of its output, which CTest keeps in its log.
for name in $skipped; do
  reason=$(awk -v name="\"$name\" start time:" 'index($0, name) == 1 { on = 1 }
    on && /^SKIP: / { sub(/^SKIP: /, ""); print; exit }' "$build/Testing/Temporary/LastTest.log")
  echo "wine-ctest: skipped $name: ${reason:-no reason given}"
done
[ -z "$unexpected" ] || die "skipped where the machine does not force it:$unexpected"
exit $status
