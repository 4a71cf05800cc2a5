#include "controls/button/bitmap_capture.h"

#include <span>

namespace px {

PictureRef CaptureBitmapArea(ButtonApi& api, GdiHandle source, std::int32_t x, std::int32_t y,
                             std::int32_t width, std::int32_t height) {
  const GdiHandle memory = api.CreateCompatibleDC(source);
  const GdiHandle bitmap = api.CreateCompatibleBitmap(source, width, height);
  const GdiHandle old_bitmap = api.SelectObject(memory, bitmap);

  const bool palette_device = (api.GetDeviceCaps(source, RASTERCAPS) & RC_PALETTE) != 0;
  const bool has_palette = palette_device && api.GetDeviceCaps(source, SIZEPALETTE) == 256;
  GdiHandle palette = 0;
  GdiHandle old_palette = 0;
  if (has_palette) {
    LogPalette log_palette;
    log_palette.version = 0x300;
    log_palette.entry_count = 256;
    api.GetSystemPaletteEntries(source, 0, std::span(log_palette.entries));
    palette = api.CreatePalette(log_palette);
    old_palette = api.SelectPalette(memory, palette, false);
    api.RealizePalette(memory);
  }

  api.BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);

  api.SelectObject(memory, old_bitmap);
  if (has_palette) api.SelectPalette(memory, old_palette, false);
  api.DeleteDC(memory);
  return CreateBitmapPicture(api, bitmap, palette);
}

PictureRef CreateBitmapPicture(ButtonApi& api, GdiHandle bitmap, GdiHandle palette) {
  PictDesc desc;
  desc.size = 20;
  desc.type = PICTYPE_BITMAP;
  desc.bitmap = bitmap;
  desc.palette = palette;
  PictureRef picture = api.OleCreatePictureIndirect(desc, true);
  // A picture that owns the handles deletes them; without one nobody would.
  if (!picture) {
    if (bitmap != 0) api.DeleteObject(bitmap);
    if (palette != 0) api.DeleteObject(palette);
  }
  return picture;
}

}  // namespace px
