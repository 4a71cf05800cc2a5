#include "controls/win32/gdi_surface.h"

#include <algorithm>
#include <vector>

#include "base/win32/argb_dib.h"
#include "controls/common/blit.h"

namespace px::win32 {
namespace {

std::uint32_t ToPixel(Color c) { return OpaqueArgb(RedOf(c), GreenOf(c), BlueOf(c)); }

// A top-down 32-bit DIB section; its bits are 0xAARRGGBB words, like every picture here.
HBITMAP CreateImage(HDC dc, std::int32_t width, std::int32_t height, std::uint32_t** bits) {
  const BITMAPINFO info = ArgbDibInfo(std::max(width, 1), std::max(height, 1));
  void* memory = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  *bits = static_cast<std::uint32_t*>(memory);
  return bitmap;
}

}  // namespace

HFONT CreateGdiFont(const Font& font) {
  LOGFONTW log{};
  log.lfHeight = -static_cast<LONG>(font.size_points * 96 / 72 + 0.5);
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.italic;
  log.lfUnderline = font.underline;
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfQuality = ANTIALIASED_QUALITY;
  const std::size_t n = std::min<std::size_t>(font.name.size(), LF_FACESIZE - 1);
  std::copy_n(font.name.begin(), n, log.lfFaceName);
  return CreateFontIndirectW(&log);
}

GdiSurface::GdiSurface(HWND window) : window_(window) {
  HDC screen = GetDC(window_);
  dc_ = CreateCompatibleDC(screen);
  ReleaseDC(window_, screen);
  bitmap_ = CreateImage(dc_, 1, 1, &bits_);
  old_bitmap_ = SelectObject(dc_, bitmap_);
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  SetFont(font_);
  RECT client{};
  GetClientRect(window_, &client);
  Resize({PixelsToTwips(client.right), PixelsToTwips(client.bottom)});
}

GdiSurface::~GdiSurface() {
  SelectObject(dc_, old_font_);
  SelectObject(dc_, old_bitmap_);
  DeleteObject(font_handle_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void GdiSurface::Resize(TwipSize size) {
  size_ = size;
  const std::int32_t w = std::max(TwipsToPixels(size.width), 0);
  const std::int32_t h = std::max(TwipsToPixels(size.height), 0);
  if (w == width_ && h == height_ && bits_ != nullptr) return;
  std::uint32_t* bits = nullptr;
  HBITMAP bitmap = CreateImage(dc_, w, h, &bits);
  if (bitmap == nullptr) return;  // out of GDI memory: keep drawing on the old image
  GdiFlush();
  std::fill_n(bits, static_cast<std::size_t>(std::max(w, 1)) * std::max(h, 1),
              ToPixel(back_color_));
  for (std::int32_t y = 0; y < std::min(h, height_); ++y) {
    std::copy_n(bits_ + static_cast<std::ptrdiff_t>(y) * width_, std::min(w, width_),
                bits + static_cast<std::ptrdiff_t>(y) * w);
  }
  SelectObject(dc_, bitmap);
  DeleteObject(bitmap_);
  bitmap_ = bitmap;
  bits_ = bits;
  width_ = w;
  height_ = h;
  Invalidate();
}

void GdiSurface::Paint(HDC dc, const RECT& dirty) const {
  GdiFlush();
  BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, dc_,
         dirty.left, dirty.top, SRCCOPY);
}

void GdiSurface::Invalidate() const { InvalidateRect(window_, nullptr, FALSE); }

void GdiSurface::SetFont(const Font& font) {
  HFONT handle = CreateGdiFont(font);
  if (handle == nullptr) return;
  const HGDIOBJ previous = SelectObject(dc_, handle);
  if (old_font_ == nullptr) old_font_ = previous;
  if (font_handle_ != nullptr) DeleteObject(font_handle_);
  font_handle_ = handle;
  font_ = font;
}

void GdiSurface::Clear() {
  GdiFlush();
  std::fill_n(bits_, static_cast<std::size_t>(width_) * height_, ToPixel(back_color_));
  Invalidate();
}

void GdiSurface::Print(TwipPoint at, TextView text) {
  if (text.empty()) return;
  SetTextColor(dc_, RGB(RedOf(fore_color_), GreenOf(fore_color_), BlueOf(fore_color_)));
  TextOutW(dc_, TwipsToPixels(at.x), TwipsToPixels(at.y),
           reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()));
  Invalidate();
}

TwipSize GdiSurface::TextExtent(TextView text) const {
  SIZE extent{};
  GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.data()),
                        static_cast<int>(text.size()), &extent);
  return {PixelsToTwips(extent.cx), PixelsToTwips(extent.cy)};
}

void GdiSurface::CopyPicture(const Picture& picture, TwipRect source, TwipRect dest) {
  GdiFlush();
  BlitPicture(picture, source, dest, pixels(), width_, height_);
  Invalidate();
}

PictureRef GdiSurface::Image() const {
  GdiFlush();
  std::vector<Argb> copy(bits_, bits_ + static_cast<std::size_t>(width_) * height_);
  for (Argb& p : copy) p |= 0xFF000000u;  // GDI leaves the alpha byte as it pleases
  return MakePixelPicture(width_, height_, std::move(copy));
}

}  // namespace px::win32
