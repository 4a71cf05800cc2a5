#pragma once

#include <memory>
#include <vector>

#include "base/win32/windows_api.h"
#include "controls/common/button_api.h"

namespace px::win32 {

// The image button's system calls on gdi32, user32 and OLE, one Windows call each. Handles pass
// through as they are (a GdiHandle holds an HDC, HBITMAP or HPALETTE); windows are 32-bit
// numbers, as HWNDs are in a 32-bit process.
//
// The picture objects that OleCreatePictureIndirect makes here are OLE pictures that own their
// bitmap and palette; they show their pixels to the surfaces by reading the bitmap once
// (GetDIBits) when first asked. A picture of another kind (one drawn in memory) is lent to GDI
// as a DIB section made from its pixels, kept for as long as the picture lives.
class ButtonApiWin32 final : public ButtonApi {
 public:
  ButtonApiWin32();
  ~ButtonApiWin32() override;
  ButtonApiWin32(const ButtonApiWin32&) = delete;
  ButtonApiWin32& operator=(const ButtonApiWin32&) = delete;

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
  ScreenPoint GetCursorPos() override;
  std::int32_t WindowFromPoint(ScreenPoint point) override;

  // The palette an OLE picture made here holds (0 for none, or for another kind of picture).
  static GdiHandle PicturePalette(const Picture& picture);

 private:
  struct Lent {
    std::weak_ptr<const Picture> picture;
    const Picture* address = nullptr;
    HBITMAP bitmap = nullptr;
  };
  void DropLentBitmaps();

  std::vector<Lent> lent_;
};

}  // namespace px::win32
