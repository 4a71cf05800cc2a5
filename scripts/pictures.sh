#!/usr/bin/env bash
# The pictures of the README and the docs, made by px-sim so that they show what the programs
# draw today:
#   scripts/pictures.sh [DIR]      (default: docs/pictures/ of this tree)
# PX_SIM names the px-sim to use (default: build/linux/px-sim). Every picture comes from a run on
# the virtual clock, so the same build makes the same pixels every time; the test docs_pictures
# compares them with the committed ones.
#   window-counting.png   the installer's window on the built-in PC in the middle of its closing
#                         count, 10050 ms into the run: model, port and driver found
#   gallery-SCENE.png     the control kit's gallery scenes the control kit's page shows
#   receipt-58mm.png      the test receipt the virtual printer prints for the queue of the PC
#                         that has one, with the default preferences
#   receipt-80mm.png      the same on the 80 mm roll, drawer 1 kicked first, a full cut
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/docs/pictures}
px_sim=${PX_SIM:-$here/build/linux/px-sim}
[ -x "$px_sim" ] || { echo "pictures.sh: no px-sim at $px_sim (build it, or set PX_SIM)" >&2; exit 1; }

scenes=(printform-4500x3000 frame-hover-close button-strips button-state-normal button-state-hover
  button-state-pressed button-state-disabled button-toggle-on button-opaque)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# px-sim finds the built-in machine and the driver package from the tree it was built in.
"$px_sim" run --instant --view none --snapshot "$work/run" >/dev/null 2>"$work/run.log" ||
  { cat "$work/run.log" >&2; exit 1; }
frame=$(find "$work/run" -name '*-00010050.png' | sort | tail -n 1)
[ -n "$frame" ] || { echo "pictures.sh: the run drew no picture at 10050 ms" >&2; exit 1; }
cp "$frame" "$out/window-counting.png"

args=()
for scene in "${scenes[@]}"; do args+=(--scene "$scene"); done
"$px_sim" gallery --out "$work/gallery" "${args[@]}" >/dev/null
for scene in "${scenes[@]}"; do cp "$work/gallery/$scene.png" "$out/gallery-$scene.png"; done

"$px_sim" print already-installed --printer "Lunor L58T" --test --png "$out/receipt-58mm.png" \
  >/dev/null
"$px_sim" print already-installed --printer "Lunor L58T" --test --set PaperSize=ROLL80 \
  --set CashDrawer=DRAWER1_BEFORE --set Cutter=FULL_JOB --png "$out/receipt-80mm.png" >/dev/null
echo "pictures.sh: $((3 + ${#scenes[@]})) pictures in $out"
