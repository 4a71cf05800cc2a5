#!/usr/bin/env bash
# The winget manifests of a release, from the templates in packaging/winget/:
#   scripts/winget_manifests.sh ZIP URL OUT
# ZIP is the release zip (px-installer-<version>-win32.zip), URL the address it is published
# at, OUT the folder the three manifests are written into.
set -euo pipefail
[ $# = 3 ] || { echo "usage: $0 ZIP URL OUT" >&2; exit 2; }
zip=$1 url=$2 out=$3
name=$(basename "$zip")
[[ $name =~ ^px-installer-([0-9]+\.[0-9]+\.[0-9]+)-win32\.zip$ ]] ||
  { echo "$0: $name is not named px-installer-<version>-win32.zip" >&2; exit 1; }
version=${BASH_REMATCH[1]}
[[ $url == https://* ]] || { echo "$0: the address must be https: $url" >&2; exit 1; }
sha=$(sha256sum "$zip" | cut -d' ' -f1 | tr a-f A-F)
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
for template in "$here"/packaging/winget/*.yaml.in; do
  manifest=$out/$(basename "$template" .in)
  sed -e "s|@VERSION@|$version|g" -e "s|@URL@|$url|g" -e "s|@SHA256@|$sha|g" "$template" >"$manifest"
done
echo "$out: manifests of px-installer $version"
