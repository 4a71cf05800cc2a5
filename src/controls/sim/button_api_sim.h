#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "controls/common/blit.h"
#include "controls/common/button_api.h"

namespace px::sim {

// The display, GDI objects and desktop of the simulated machine, as the image button sees them.
//
// GDI: memory device contexts, bitmaps (32-bit pixels, black when new, as Windows makes them)
// and logical palettes live in a handle table. The calls answer as gdi32 does: a bitmap can be
// selected into one memory DC at a time, the select calls hand back what they replaced, a copy
// draws only where its source lies inside the source bitmap, and a new compatible bitmap of
// zero width or height is 1 x 1. The display is true-colour, or, switched on, a 256-colour
// palette device: its DCs then report RC_PALETTE and a 256-entry palette, the system palette
// can be read, and a copy into a DC with a realized palette maps every pixel to the palette's
// nearest colour, as an 8-bit display would.
//
// Desktop: windows with a screen rectangle, a parent, enabled and visible flags and optionally a
// shape (a window region), in z-order (a window added later lies over its earlier siblings), and
// a cursor position, which together answer GetCursorPos and WindowFromPoint. As with a window
// region, a point of the rectangle outside the shape is not the window's: the search goes on to
// what lies below.
class SimButtonApi final : public ButtonApi {
 public:
  SimButtonApi();
  ~SimButtonApi() override;
  SimButtonApi(const SimButtonApi&) = delete;
  SimButtonApi& operator=(const SimButtonApi&) = delete;

  // The display.
  void SetPaletteDisplay(bool palette) { palette_display_ = palette; }
  bool palette_display() const { return palette_display_; }
  // The system palette of the 256-colour display: the 20 static colours at both ends, a
  // 6 x 6 x 6 colour cube and a grey ramp between them.
  static const std::array<PaletteEntry, 256>& SystemPalette();

  // The desktop. A window's rectangle is in screen pixels.
  std::int32_t AddWindow(std::int32_t parent, PixelRect screen_rect);
  void RemoveWindow(std::int32_t hwnd);
  void SetWindowRect(std::int32_t hwnd, PixelRect screen_rect);
  PixelRect WindowRect(std::int32_t hwnd) const;
  void SetWindowEnabled(std::int32_t hwnd, bool enabled);
  void SetWindowVisible(std::int32_t hwnd, bool visible);
  // The window's shape, runs of pixels from its top-left (MaskShape); nullopt for none.
  void SetWindowShape(std::int32_t hwnd, std::optional<std::vector<PixelRect>> shape);
  void SetCursorPos(ScreenPoint point) { cursor_ = point; }

  // A device context for drawing on a window (GetDC); it goes when ReleaseWindowDC is called.
  GdiHandle GetWindowDC(std::int32_t hwnd);
  void ReleaseWindowDC(GdiHandle dc);

  // GDI objects alive, stock objects, window DCs and the bitmaps lent out for live pictures not
  // counted: what a leak would leave.
  std::size_t LiveObjects();
  // The palette a picture made by OleCreatePictureIndirect holds (0 for none, or for another
  // kind of picture), and the entries of a palette.
  GdiHandle PicturePalette(const Picture& picture) const;
  std::vector<PaletteEntry> PaletteEntries(GdiHandle palette) const;

  // ButtonApi.
  GdiHandle CreateCompatibleDC(GdiHandle dc) override;
  GdiHandle CreateCompatibleBitmap(GdiHandle dc, std::int32_t width, std::int32_t height) override;
  GdiHandle SelectObject(GdiHandle dc, GdiHandle object) override;
  bool DeleteDC(GdiHandle dc) override;
  bool DeleteObject(GdiHandle object) override;
  std::int32_t GetDeviceCaps(GdiHandle dc, std::int32_t index) override;
  std::uint32_t GetSystemPaletteEntries(GdiHandle dc, std::uint32_t start,
                                        std::span<PaletteEntry> entries) override;
  GdiHandle CreatePalette(const LogPalette& palette) override;
  GdiHandle SelectPalette(GdiHandle dc, GdiHandle palette, bool force_background) override;
  std::uint32_t RealizePalette(GdiHandle dc) override;
  bool BitBlt(GdiHandle dest, std::int32_t x, std::int32_t y, std::int32_t width,
              std::int32_t height, GdiHandle source, std::int32_t source_x, std::int32_t source_y,
              std::uint32_t rop) override;
  PictureRef OleCreatePictureIndirect(const PictDesc& desc, bool own) override;
  GdiHandle PictureHandle(const PictureRef& picture) override;
  ScreenPoint GetCursorPos() override { return cursor_; }
  std::int32_t WindowFromPoint(ScreenPoint point) override;

  // The largest bitmap CreateCompatibleBitmap makes, in pixels; beyond it the call fails as
  // it does when memory runs out.
  static constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 26;

 private:
  struct Objects;
  class OlePicture;
  struct Window {
    std::int32_t hwnd = 0;
    std::int32_t parent = 0;
    PixelRect rect;
    bool enabled = true;
    bool visible = true;
    std::optional<std::vector<PixelRect>> shape;
  };
  const Window* FindWindow(std::int32_t hwnd) const;
  Window* FindWindow(std::int32_t hwnd);
  std::int32_t TopChildAt(std::int32_t parent, ScreenPoint point) const;
  void PruneBorrowed();

  std::shared_ptr<Objects> objects_;
  bool palette_display_ = false;
  ScreenPoint cursor_{-10000, -10000};
  std::vector<Window> windows_;
  std::int32_t next_hwnd_ = 0x10010;
};

}  // namespace px::sim
