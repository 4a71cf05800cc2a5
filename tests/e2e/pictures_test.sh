#!/usr/bin/env bash
# The committed pictures of the docs are what scripts/pictures.sh makes now:
#   pictures_test.sh ROOT PX_SIM PNG_DIFF
# It makes them into a scratch folder with PX_SIM and compares each with ROOT/docs/pictures/ pixel
# by pixel (PNG_DIFF), so that the PNG encoder's choice of bytes does not matter. A picture that
# differs, or that is on one side only, fails; the fix is to run scripts/pictures.sh and commit.
set -uo pipefail
root=$1 px_sim=$2 png_diff=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
PX_SIM=$px_sim bash "$root/scripts/pictures.sh" "$scratch" || exit 1

failures=0 compared=0
for made in "$scratch"/*.png; do
  name=$(basename "$made")
  if [ ! -f "$root/docs/pictures/$name" ]; then
    echo "docs/pictures/$name: not committed (run scripts/pictures.sh)" >&2
    failures=$((failures + 1))
    continue
  fi
  compared=$((compared + 1))
  if ! report=$("$png_diff" "$root/docs/pictures/$name" "$made" 2>&1); then
    echo "docs/pictures/$name: not what scripts/pictures.sh makes now: $report" >&2
    failures=$((failures + 1))
  fi
done
for committed in "$root"/docs/pictures/*.png; do
  [ -e "$committed" ] || continue
  name=$(basename "$committed")
  [ -f "$scratch/$name" ] || { echo "docs/pictures/$name: scripts/pictures.sh no longer makes it" >&2; failures=$((failures + 1)); }
done
echo "docs pictures: $compared compared, $failures failed"
[ "$failures" = 0 ] && [ "$compared" -gt 0 ]
