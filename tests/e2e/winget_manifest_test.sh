#!/usr/bin/env bash
# The winget manifests a release gets: made from a stand-in zip, their fields checked, and every
# exit code docs/administrators.md documents mapped to a winget response.
#   winget_manifest_test.sh ROOT
set -euo pipefail
root=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

version=$(sed -n 's/^project(px-installer VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
zip=$work/px-installer-$version-win32.zip
printf 'stand-in' >"$zip"
url=https://releases.example.org/px-installer-$version-win32.zip
"$root/scripts/winget_manifests.sh" "$zip" "$url" "$work/out" >/dev/null
cd "$work/out"
installer=Veldrin.PxInstaller.installer.yaml

for f in Veldrin.PxInstaller.yaml Veldrin.PxInstaller.installer.yaml \
  Veldrin.PxInstaller.locale.en-US.yaml; do
  [ -f "$f" ] || { fail "$f is missing"; continue; }
  grep -q '@' "$f" && grep -n '@[A-Z0-9]*@' "$f" && fail "$f keeps a placeholder"
  grep -qx "PackageIdentifier: Veldrin.PxInstaller" "$f" || fail "$f: PackageIdentifier"
  grep -qx "PackageVersion: $version" "$f" || fail "$f: PackageVersion is not $version"
  schema=$(sed -n 's/^ManifestVersion: //p' "$f")
  printf '1.6.0\n%s\n' "$schema" | sort -V -C || fail "$f: ManifestVersion $schema is older than 1.6"
done
grep -qx "ManifestType: version" Veldrin.PxInstaller.yaml || fail "version manifest type"
grep -qx "ManifestType: installer" $installer || fail "installer manifest type"
grep -qx "ManifestType: defaultLocale" Veldrin.PxInstaller.locale.en-US.yaml || fail "locale type"
grep -qx "    InstallerUrl: $url" $installer || fail "InstallerUrl"
sha=$(sha256sum "$zip" | cut -d' ' -f1 | tr a-f A-F)
grep -qx "    InstallerSha256: $sha" $installer || fail "InstallerSha256 is not the zip's"
grep -Eq '^  Silent: .*/quiet' $installer || fail "Silent switch without /quiet"
grep -Eq '^  Log: /log "<LOGPATH>"$' $installer || fail "Log switch"
grep -q "RelativeFilePath: px-installer-$version-win32\\\\px-installer.exe" $installer ||
  fail "NestedInstallerFiles does not name the zip's px-installer.exe"

# Each documented code but 0, with the response it must have where one is fixed.
response() { awk -v code="$1" '$0 ~ "InstallerReturnCode: " code "$" { getline; print $2 }' $installer; }
codes=$(sed -n 's/^| \([0-9][0-9]*\) |.*/\1/p' "$root/docs/administrators.md")
[ -n "$codes" ] || fail "no exit codes found in docs/administrators.md"
for code in $codes; do
  [ "$code" = 0 ] && continue
  [ -n "$(response "$code")" ] || fail "exit code $code is not in ExpectedReturnCodes"
done
for pair in 87=invalidParameter 1618=installInProgress 1625=blockedByPolicy; do
  [ "$(response "${pair%=*}")" = "${pair#*=}" ] || fail "exit code ${pair%=*} is not ${pair#*=}"
done
# And nothing mapped that the page does not document.
for code in $(sed -n 's/.*InstallerReturnCode: //p' $installer); do
  grep -qw "$code" <<<"$codes" || fail "ExpectedReturnCodes maps $code, which is not documented"
done

[ $failed = 0 ] && echo "winget manifests: $(echo "$codes" | wc -w) documented exit codes, all mapped"
exit $failed
