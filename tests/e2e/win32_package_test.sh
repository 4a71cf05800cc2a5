#!/usr/bin/env bash
# The release package as a user gets it (run through scripts/wine-ctest.sh):
#   win32_package_test.sh BUILD_DIR WINDOW_PROBE_EXE OUTPUT_DIR
# Takes px-installer-<version>-win32.zip (or -win64.zip) from the build (made by the "package"
# target, or here with CPack when it is missing or older than the files it holds), checks it
# with scripts/check-release.sh, unpacks it under Wine into a folder whose path holds a blank and
# Chinese characters, and runs the start-up screenshot test on the unpacked program. With PX_SIGN_CA naming a CA certificate
# (PEM), the programs must carry a signature that verifies against it; CI signs the package with
# a throwaway certificate of that CA.
set -euo pipefail
build=$1 probe=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out" && mkdir -p "$out"

zip=$(ls "$build"/px-installer-*-win??.zip 2>/dev/null | head -n 1 || true)
# A zip older than what it holds is a package of another build: this one is made afresh.
for part in "$build/px-installer.exe" "$build/px-capture.exe" "$here"/../../PX/*; do
  if [ -n "$zip" ] && [ "$part" -nt "$zip" ]; then
    echo "package: $(basename "$zip") is older than $(basename "$part"); a new one is made"
    zip=
  fi
done
if [ -z "$zip" ]; then
  (cd "$out" && cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$out" >/dev/null)
  zip=$(ls "$out"/px-installer-*-win??.zip)
fi
echo "package: $(basename "$zip") ($(stat -c %s "$zip") bytes)"
# Contents, formats, imports, manifests and, with PX_SIGN_CA, the signatures.
bash "$here/../../scripts/check-release.sh" "$zip" "${PX_SIGN_CA:-}"

folder="$WINEPREFIX/drive_c/PX 打印机 驱动"
rm -rf "$folder" && mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
exe="$folder/$(basename "$zip" .zip)/px-installer.exe"
exec "$here/win32_screenshot_test.sh" "$exe" "$probe" "$out/screenshot"
