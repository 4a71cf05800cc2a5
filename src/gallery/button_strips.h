#pragma once

#include "controls/common/picture.h"

namespace px {

// The button strips the gallery and the demo window show: 400 x 30 pixels, drawn here rather
// than shipped as files so that both platforms show the same pixels. Each frame is a rounded
// button whose corners hold the shape mask's key colour; the slots the button never shows are
// hatched, so that a wrong cut shows at once.
//
// Push button: five 80-pixel slots, Normal (blue), Hover (light blue), Pressed (dark blue,
// shaded the other way), Disabled (grey), unused.
PictureRef DrawPushStrip();

// Toggle button: ten 40-pixel slots, the four states while off (slate), the four while on
// (green), two unused.
PictureRef DrawToggleStrip();

}  // namespace px
