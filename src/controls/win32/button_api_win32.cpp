#include "controls/win32/button_api_win32.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <vector>

#include "base/win32/argb_dib.h"
#include "base/win32/com_ptr.h"
#include "controls/common/geometry.h"

namespace px::win32 {
namespace {

template <class T>
T To(GdiHandle h) {
  return reinterpret_cast<T>(h);
}
template <class T>
GdiHandle From(T h) {
  return reinterpret_cast<GdiHandle>(h);
}

// An OLE picture of a bitmap, seen as a picture of the controls. The bitmap never changes once
// the picture holds it, so its pixels are read once.
class OlePicture final : public Picture {
 public:
  explicit OlePicture(ComPtr<IPicture> picture) : picture_(std::move(picture)) {
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture_->get_Width(&w);
    picture_->get_Height(&h);
    himetric_width_ = static_cast<std::int32_t>(w);
    himetric_height_ = static_cast<std::int32_t>(h);
    BITMAP bitmap{};
    if (::GetObjectW(bitmap_handle(), sizeof(bitmap), &bitmap) == sizeof(bitmap)) {
      width_ = bitmap.bmWidth;
      height_ = bitmap.bmHeight;
    }
  }

  std::int32_t HimetricWidth() const override { return himetric_width_; }
  std::int32_t HimetricHeight() const override { return himetric_height_; }
  std::int32_t PixelWidth() const override { return width_; }
  std::int32_t PixelHeight() const override { return height_; }
  std::span<const Argb> Pixels() const override {
    if (!read_) {
      read_ = true;
      pixels_.assign(static_cast<std::size_t>(width_) * height_, 0xFF000000u);
      BITMAPINFO info = ArgbDibInfo(width_, height_);
      HDC screen = ::GetDC(nullptr);
      ::GetDIBits(screen, bitmap_handle(), 0, static_cast<UINT>(height_), pixels_.data(), &info,
                  DIB_RGB_COLORS);
      ::ReleaseDC(nullptr, screen);
      for (Argb& p : pixels_) p |= 0xFF000000u;  // a device bitmap has no alpha
    }
    return pixels_;
  }

  HBITMAP bitmap_handle() const {
    OLE_HANDLE handle = 0;
    picture_->get_Handle(&handle);
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
  }
  HPALETTE palette_handle() const {
    OLE_HANDLE handle = 0;
    picture_->get_hPal(&handle);
    return reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(handle));
  }

 private:
  ComPtr<IPicture> picture_;
  std::int32_t himetric_width_ = 0;
  std::int32_t himetric_height_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  mutable bool read_ = false;
  mutable std::vector<Argb> pixels_;
};

}  // namespace

ButtonApiWin32::ButtonApiWin32() = default;

ButtonApiWin32::~ButtonApiWin32() {
  for (Lent& lent : lent_) ::DeleteObject(lent.bitmap);
}

GdiHandle ButtonApiWin32::CreateCompatibleDC(GdiHandle dc) {
  return From(::CreateCompatibleDC(To<HDC>(dc)));
}

GdiHandle ButtonApiWin32::CreateCompatibleBitmap(GdiHandle dc, std::int32_t width,
                                                 std::int32_t height) {
  return From(::CreateCompatibleBitmap(To<HDC>(dc), width, height));
}

GdiHandle ButtonApiWin32::SelectObject(GdiHandle dc, GdiHandle object) {
  return From(::SelectObject(To<HDC>(dc), To<HGDIOBJ>(object)));
}

bool ButtonApiWin32::DeleteDC(GdiHandle dc) { return ::DeleteDC(To<HDC>(dc)) != FALSE; }

bool ButtonApiWin32::DeleteObject(GdiHandle object) {
  return ::DeleteObject(To<HGDIOBJ>(object)) != FALSE;
}

std::int32_t ButtonApiWin32::GetDeviceCaps(GdiHandle dc, std::int32_t index) {
  return ::GetDeviceCaps(To<HDC>(dc), index);
}

std::uint32_t ButtonApiWin32::GetSystemPaletteEntries(GdiHandle dc, std::uint32_t start,
                                                      std::span<PaletteEntry> entries) {
  std::vector<PALETTEENTRY> buffer(entries.size());
  const UINT n = ::GetSystemPaletteEntries(To<HDC>(dc), start, static_cast<UINT>(buffer.size()),
                                           buffer.data());
  for (std::size_t i = 0; i < std::min<std::size_t>(n, entries.size()); ++i) {
    entries[i] = {buffer[i].peRed, buffer[i].peGreen, buffer[i].peBlue, buffer[i].peFlags};
  }
  return n;
}

GdiHandle ButtonApiWin32::CreatePalette(const LogPalette& palette) {
  // LOGPALETTE ends in a one-entry array that really holds entry_count entries.
  std::vector<std::byte> memory(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(memory.data());
  log->palVersion = palette.version;
  log->palNumEntries = palette.entry_count;
  for (std::size_t i = 0; i < std::min<std::size_t>(palette.entry_count, 256); ++i) {
    const PaletteEntry& e = palette.entries[i];
    log->palPalEntry[i] = {e.red, e.green, e.blue, e.flags};
  }
  return From(::CreatePalette(log));
}

GdiHandle ButtonApiWin32::SelectPalette(GdiHandle dc, GdiHandle palette, bool force_background) {
  return From(::SelectPalette(To<HDC>(dc), To<HPALETTE>(palette), force_background));
}

std::uint32_t ButtonApiWin32::RealizePalette(GdiHandle dc) { return ::RealizePalette(To<HDC>(dc)); }

bool ButtonApiWin32::BitBlt(GdiHandle dest, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, GdiHandle source, std::int32_t source_x,
                            std::int32_t source_y, std::uint32_t rop) {
  return ::BitBlt(To<HDC>(dest), x, y, width, height, To<HDC>(source), source_x, source_y, rop) !=
         FALSE;
}

PictureRef ButtonApiWin32::OleCreatePictureIndirect(const PictDesc& desc, bool own) {
  // The 20-byte description is the PICTDESC of a 32-bit process.
  if (desc.size != 20 || desc.type != PICTYPE_BITMAP) return nullptr;
  PICTDESC pd{};
  pd.cbSizeofstruct = sizeof(pd);
  pd.picType = PICTYPE_BITMAP;
  pd.bmp.hbitmap = To<HBITMAP>(desc.bitmap);
  pd.bmp.hpal = To<HPALETTE>(desc.palette);
  ComPtr<IDispatch> dispatch;
  if (FAILED(
          ::OleCreatePictureIndirect(&pd, IID_IDispatch, own ? TRUE : FALSE, dispatch.PutVoid()))) {
    return nullptr;
  }
  ComPtr<IPicture> picture;
  if (FAILED(dispatch->QueryInterface(IID_IPicture, picture.PutVoid()))) return nullptr;
  return std::make_shared<OlePicture>(std::move(picture));
}

GdiHandle ButtonApiWin32::PicturePalette(const Picture& picture) {
  const auto* ole = dynamic_cast<const OlePicture*>(&picture);
  return ole ? From(ole->palette_handle()) : 0;
}

void ButtonApiWin32::DropLentBitmaps() {
  std::erase_if(lent_, [](const Lent& lent) {
    if (!lent.picture.expired()) return false;
    ::DeleteObject(lent.bitmap);
    return true;
  });
}

GdiHandle ButtonApiWin32::PictureHandle(const PictureRef& picture) {
  if (!picture) return 0;
  if (const auto* ole = dynamic_cast<const OlePicture*>(picture.get())) {
    return From(ole->bitmap_handle());
  }
  DropLentBitmaps();
  for (const Lent& lent : lent_) {
    if (lent.address == picture.get()) return From(lent.bitmap);
  }
  const std::int32_t w = picture->PixelWidth(), h = picture->PixelHeight();
  const std::span<const Argb> pixels = picture->Pixels();
  if (w <= 0 || h <= 0 || pixels.size() != static_cast<std::size_t>(w) * h) return 0;
  BITMAPINFO info = ArgbDibInfo(w, h);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return 0;
  std::copy(pixels.begin(), pixels.end(), static_cast<Argb*>(bits));
  lent_.push_back({picture, picture.get(), bitmap});
  return From(bitmap);
}

ScreenPoint ButtonApiWin32::GetCursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

std::int32_t ButtonApiWin32::WindowFromPoint(ScreenPoint point) {
  return static_cast<std::int32_t>(
      reinterpret_cast<std::intptr_t>(::WindowFromPoint(POINT{point.x, point.y})));
}

}  // namespace px::win32
