#!/usr/bin/env bash
# The control kit stands alone (run through scripts/wine-ctest.sh):
#   package_test.sh BUILD_DIR TOOLCHAIN_FILE OUTPUT_DIR
# Installs the kit's component of the Windows build into OUTPUT_DIR/prefix, builds the project
# beside this script (px-gallery.exe and kit-host.exe) against that package alone, and starts
# that px-gallery.exe and the build's own under Wine: their screenshots are the same pixels.
set -euo pipefail
build=$1 toolchain=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
cmake=${CMAKE_COMMAND:-cmake}
rm -rf "$out" && mkdir -p "$out"

"$cmake" --install "$build" --component controls --prefix "$out/prefix" >"$out/install.log"
# The toolchain finds packages under the MinGW tree only; the package's folder is named instead.
"$cmake" -S "$here" -B "$out/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DPxControls_DIR="$out/prefix/lib/cmake/PxControls" \
  >"$out/configure.log"
"$cmake" --build "$out/build" -j2 >"$out/build.log" || { cat "$out/build.log" >&2; exit 1; }
for exe in px-gallery.exe kit-host.exe; do
  [ -s "$out/build/$exe" ] || { echo "FAIL: $exe was not built" >&2; exit 1; }
done

# The gallery window is 4500 x 3000 twips: a 300 x 200 pixel screenshot (a top-down DIB).
screenshot() {  # exe, bmp
  wine "$1" --screenshot "$(winepath -w "$2")"
  local size
  size=$(od -An -t d4 -j 18 -N 8 "$2" | xargs)
  if [ "$size" != "300 -200" ]; then
    echo "FAIL: the screenshot of $1 is \"$size\" pixels, expected \"300 -200\"" >&2
    exit 1
  fi
}
screenshot "$out/build/px-gallery.exe" "$out/kit.bmp"
screenshot "$build/px-gallery.exe" "$out/tree.bmp"
if ! cmp -s "$out/kit.bmp" "$out/tree.bmp"; then
  echo "FAIL: px-gallery.exe on the installed kit shows other pixels than the build's own" >&2
  exit 1
fi
echo "px-gallery.exe on the installed kit shows what the build's own shows"
