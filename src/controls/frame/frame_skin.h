#pragma once

#include "controls/common/picture.h"

namespace px {

// The pictures a frame draws itself from. Every part of the bar and of the window border is
// copied out of `pp`; the four glyph pictures cover the bar's own glyphs while the pointer is
// over a button or a button is held down.
struct FrameSkin {
  PictureRef pp;   // a miniature window: title band, glyphs, client area, border (94 x 85 px)
  PictureRef pi3;  // minimise glyph, pointer over it (19 x 19 px)
  PictureRef pi4;  // close glyph, pointer over it
  PictureRef pi1;  // minimise glyph, held down
  PictureRef pi2;  // close glyph, held down
};

// The skin of the control set, drawn by code so that it is the same pixels on every platform.
// Layout the frame relies on (pixels of pp): the blue band is rows 0-29, the minimise glyph's
// 19 x 19 box starts at (46, 5) and the close glyph's at (70, 5), the border is 4 pixels wide
// on the left, right and bottom, everything else is the grey client area.
FrameSkin DrawFrameSkin();

// Where the skin's glyph boxes sit, for tests and for anyone drawing a matching skin.
inline constexpr int kSkinWidth = 94;
inline constexpr int kSkinHeight = 85;
inline constexpr int kSkinBandHeight = 30;
inline constexpr int kSkinBorder = 4;
inline constexpr int kSkinGlyphSize = 19;
inline constexpr int kSkinGlyphTop = 5;
inline constexpr int kSkinMinGlyphLeft = 46;
inline constexpr int kSkinCloseGlyphLeft = 70;

}  // namespace px
