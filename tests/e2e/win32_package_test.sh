#!/usr/bin/env bash
# The release package as a user gets it (run through scripts/wine-ctest.sh):
#   win32_package_test.sh BUILD_DIR WINDOW_PROBE_EXE OUTPUT_DIR
# Takes px-installer-<version>-win32.zip from the build (made by the "package" target, or here
# with CPack when it is missing), checks what it holds, unpacks it under Wine into a folder
# whose path holds a blank and Chinese characters, and runs the start-up screenshot test on the
# unpacked program. With PX_SIGN_CA naming a CA certificate (PEM), the unpacked program must
# carry a signature that verifies against it (scripts/sign.sh verify); CI signs the package with
# a throwaway certificate of that CA.
set -euo pipefail
build=$1 probe=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out" && mkdir -p "$out"

zip=$(ls "$build"/px-installer-*-win32.zip 2>/dev/null | head -n 1 || true)
if [ -z "$zip" ]; then
  (cd "$out" && cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$out" >/dev/null)
  zip=$(ls "$out"/px-installer-*-win32.zip)
fi
echo "package: $(basename "$zip") ($(stat -c %s "$zip") bytes)"
top=$(basename "$zip" .zip)
listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$top/PX/PX.GPD" "$top/PX/PX.inf" "$top/README.txt" \
  "$top/px-capture.exe" "$top/px-installer.exe" | sort)
if [ "$listing" != "$expected" ]; then
  echo "FAIL: the package holds"$'\n'"$listing"$'\n'"expected"$'\n'"$expected" >&2
  exit 1
fi

folder="$WINEPREFIX/drive_c/PX 打印机 驱动"
rm -rf "$folder" && mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
exe="$folder/$top/px-installer.exe"
cmp -s "$folder/$top/PX/PX.inf" "$here/../../PX/PX.inf" || { echo "FAIL: PX.inf differs" >&2; exit 1; }
echo "px-installer.exe: $(stat -c %s "$exe") bytes"
if [ -n "${PX_SIGN_CA:-}" ]; then
  bash "$here/../../scripts/sign.sh" verify "$exe" "$PX_SIGN_CA" || { echo "FAIL: signature" >&2; exit 1; }
else
  echo "signature not checked: PX_SIGN_CA is not set"
fi
exec "$here/win32_screenshot_test.sh" "$exe" "$probe" "$out/screenshot"
