#pragma once

#include <cstdint>

#include "controls/common/button_api.h"
#include "controls/common/picture.h"

namespace px {

// Copies the rectangle (x, y, width, height) of the source device context, in pixels, into a new
// bitmap compatible with it and wraps that into a picture object that owns it. On a 256-colour
// palette device the copy is made through a logical palette filled from the system palette,
// which the picture then owns as well. The results of the GDI calls are not checked: a copy that
// fails gives a blank or missing picture, and the caller paints what it has.
PictureRef CaptureBitmapArea(ButtonApi& api, GdiHandle source, std::int32_t x, std::int32_t y,
                             std::int32_t width, std::int32_t height);

// Wraps a bitmap (and a palette, 0 for none) into a picture object that deletes both when it is
// released; nullptr when no picture could be made, and then the handles are deleted at once.
PictureRef CreateBitmapPicture(ButtonApi& api, GdiHandle bitmap, GdiHandle palette);

}  // namespace px
