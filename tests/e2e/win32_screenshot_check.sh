#!/usr/bin/env bash
# Checks a screenshot of the installer's window at start-up:
#   win32_screenshot_check.sh SCREENSHOT X Y WIDTH HEIGHT [LAST]
# X Y WIDTH HEIGHT: the client area in screen pixels. LAST (1 unless given): the last status line
# that must show text; the line after it is not checked. The labels' places follow from the
# design in twips at the DPI that the client width implies (10215 twips wide).
#   - the client area is black outside the labels;
#   - every label's ink is cyan (anti-aliased over black: no red, green equal to blue);
#   - the provider line and status lines 0 to LAST show text, lines LAST + 2 to 14 nothing;
#   - the text is glyphs, not boxes: no glyph (a run of inked columns) is a hollow rectangle,
#     the mark a font draws for a character it lacks.
set -euo pipefail
shot=$1 x=$2 y=$3 w=$4 h=$5 last=${6:-1}

convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 txt:- |
  awk -v width="$w" -v last="$last" '
  function px(twips) { return int(twips * dpi / 1440 + 0.5) }
  # The label at a pixel: 0 for Label2, 1 + i for Label1(i), -1 for none (with a margin of one
  # pixel, where a neighbour rounding differently may still reach).
  function label_at(col, row,   i, top) {
    if (col < px(120) - 1 || col > px(120 + 9015)) return -1
    for (i = 0; i <= 15; i++) {
      top = px(i == 0 ? 120 : 480 + 360 * (i - 1))
      if (row >= top - 1 && row <= top + px(315)) return i
    }
    return -1
  }
  BEGIN { dpi = int(width * 1440 / 10215 + 0.5) }
  /^#/ { next }
  {
    split($1, at, /[,:]/); col = at[1] + 0; row = at[2] + 0
    gsub(/[()]/, "", $2); split($2, rgb, ","); r = rgb[1] + 0; g = rgb[2] + 0; b = rgb[3] + 0
    if (r == 0 && g == 0 && b == 0) next
    label = label_at(col, row)
    if (label < 0) { stray++; next }
    if (r > 40 || (g > b ? g - b : b - g) > 40) { off_colour[label]++; next }
    if (g < 96) next
    ink[label]++
    inked[label, col, row] = 1
    if (!(label in left) || col < left[label]) left[label] = col
    if (!(label in right) || col > right[label]) right[label] = col
  }
  # Counts the hollow rectangles among the glyphs of a label: runs of inked columns whose
  # outline is inked all round while their inside is nearly empty.
  function boxes(label,   count, col, first, last, row, top, bottom, c, r, edge, inside, n) {
    count = 0
    col = left[label]
    while (col <= right[label]) {
      while (col <= right[label] && !column_inked(label, col)) col++
      first = col
      while (col <= right[label] && column_inked(label, col)) col++
      last = col - 1
      if (last - first < 3) continue
      top = -1; bottom = -1
      for (r = 0; r < 400; r++) for (c = first; c <= last; c++) if ((label, c, r) in inked) {
        if (top < 0) top = r
        bottom = r
      }
      if (bottom - top < 5) continue
      edge = 0; inside = 0; n = 0
      for (c = first; c <= last; c++) edge += ((label, c, top) in inked) + ((label, c, bottom) in inked)
      for (r = top; r <= bottom; r++) edge += ((label, first, r) in inked) + ((label, last, r) in inked)
      for (c = first + 2; c <= last - 2; c++) for (r = top + 2; r <= bottom - 2; r++) {
        n++; inside += ((label, c, r) in inked)
      }
      if (edge >= 0.8 * 2 * ((last - first + 1) + (bottom - top + 1)) && inside <= 0.15 * n) count++
    }
    return count
  }
  function column_inked(label, col,   r) {
    for (r = 0; r < 400; r++) if ((label, col, r) in inked) return 1
    return 0
  }
  END {
    failures = 0
    if (stray > 0) { printf "%d non-black pixels outside the labels\n", stray; failures++ }
    for (i = 0; i <= 15; i++) {
      name = i == 0 ? "Label2" : "Label1(" (i - 1) ")"
      if (off_colour[i] > 0) { printf "%s: %d pixels not cyan\n", name, off_colour[i]; failures++ }
      if (i <= last + 1) {
        if (ink[i] < 60) { printf "%s: no text (%d cyan pixels)\n", name, ink[i]; failures++; continue }
        hollow = boxes(i)
        printf "%s: %d cyan pixels, %d px wide\n", name, ink[i], right[i] - left[i] + 1
        if (hollow > 0) { printf "%s: %d glyphs are boxes\n", name, hollow; failures++ }
      } else if (i >= last + 3 && ink[i] > 0) {
        printf "%s: should be empty, has %d cyan pixels\n", name, ink[i]; failures++
      }
    }
    exit failures > 0
  }'
