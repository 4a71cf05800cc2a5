#pragma once

#include <cstdint>
#include <span>

#include "base/win32/windows_api.h"
#include "controls/common/surface.h"

namespace px::win32 {

// The drawing surface of a window: a memory DC holding a 32-bit DIB section as large as the
// window's client area. Every operation draws into that image (the retained image), which
// survives repaints; the window's WM_PAINT copies it to the screen with Paint. Twips are taken
// at 15 to the pixel whatever the display's DPI, as the controls' geometry assumes.
class GdiSurface final : public Surface {
 public:
  // window: whose client area the image stands for; it is invalidated after each drawing.
  explicit GdiSurface(HWND window);
  ~GdiSurface() override;
  GdiSurface(const GdiSurface&) = delete;
  GdiSurface& operator=(const GdiSurface&) = delete;

  // Follows the window's size: what was drawn stays, new parts show the background colour.
  void Resize(TwipSize size);
  // Copies the part of the retained image that `paint` asks for to the window's DC.
  void Paint(HDC dc, const RECT& dirty) const;
  HDC dc() const { return dc_; }
  // The retained image's pixels (0xAARRGGBB words, top row first); the alpha is undefined.
  std::span<std::uint32_t> pixels() { return {bits_, static_cast<std::size_t>(width_) * height_}; }
  std::int32_t pixel_width() const { return width_; }
  std::int32_t pixel_height() const { return height_; }

  TwipSize Size() const override { return size_; }
  Color BackColor() const override { return back_color_; }
  void SetBackColor(Color color) override { back_color_ = color; }
  Color ForeColor() const override { return fore_color_; }
  void SetForeColor(Color color) override { fore_color_ = color; }
  const Font& GetFont() const override { return font_; }
  void SetFont(const Font& font) override;
  void Clear() override;
  void Print(TwipPoint at, TextView text) override;
  TwipSize TextExtent(TextView text) const override;
  void CopyPicture(const Picture& picture, TwipRect source, TwipRect dest) override;
  PictureRef Image() const override;

 private:
  void Invalidate() const;

  HWND window_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  HFONT font_handle_ = nullptr;
  HGDIOBJ old_font_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  TwipSize size_;
  Color back_color_ = kWhite;
  Color fore_color_ = kBlack;
  Font font_;
};

// A GDI font for a Font at 96 dots per inch; the caller deletes it.
HFONT CreateGdiFont(const Font& font);

}  // namespace px::win32
