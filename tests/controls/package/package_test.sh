#!/usr/bin/env bash
# The control kit stands alone (run through scripts/wine-ctest.sh):
#   package_test.sh BUILD_DIR TOOLCHAIN_FILE OUTPUT_DIR
# Installs the kit's component of the Windows build into OUTPUT_DIR/prefix, checks that its only
# headers are the interface's (include/px-controls/px/*.h), builds the project beside this
# script (kit-host.exe) against that package alone, and runs it under Wine with its button
# pressed: the window closes only if the click reaches the program's handler.
set -euo pipefail
build=$1 toolchain=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
cmake=${CMAKE_COMMAND:-cmake}
rm -rf "$out" && mkdir -p "$out"

"$cmake" --install "$build" --component controls --prefix "$out/prefix" >"$out/install.log"
[ -f "$out/prefix/include/px-controls/px/bform.h" ] ||
  { echo "FAIL: the package holds no include/px-controls/px/bform.h" >&2; exit 1; }
others=$(cd "$out/prefix" && find include -type f ! -regex 'include/px-controls/px/[^/]*\.h')
if [ -n "$others" ]; then
  echo "FAIL: the package installs headers besides the interface's px/*.h:" $others >&2
  exit 1
fi

# The toolchain finds packages under the MinGW tree only; the package's folder is named instead.
"$cmake" -S "$here" -B "$out/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DPxControls_DIR="$out/prefix/lib/cmake/PxControls" \
  >"$out/configure.log"
"$cmake" --build "$out/build" -j2 >"$out/build.log" || { cat "$out/build.log" >&2; exit 1; }
[ -s "$out/build/kit-host.exe" ] || { echo "FAIL: kit-host.exe was not built" >&2; exit 1; }

status=0
timeout 60 wine "$out/build/kit-host.exe" --press || status=$?
if [ "$status" != 0 ]; then
  echo "FAIL: kit-host.exe --press ended with exit code $status (124: its button's click" \
    "never closed the window)" >&2
  exit 1
fi
echo "kit-host.exe on the installed kit makes its controls and hears its button's click"
