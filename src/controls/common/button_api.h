#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "controls/common/picture.h"

namespace px {

// The system calls the image button makes beyond its surface: gdi32 to cut its picture strip
// into frames, OLE to wrap a bitmap into a picture object, and user32 to find out where the
// cursor is. Each call keeps the Windows semantics (handles that may be 0, previous objects
// handed back by the select calls, results that the caller is free to ignore), so that the
// button's routines read like the calls they make, on Windows and in the simulator alike.

// An HDC, HBITMAP, HPALETTE or other GDI object handle; 0 is none.
using GdiHandle = std::uintptr_t;

// A point on the screen, in pixels.
struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// PALETTEENTRY.
struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// LOGPALETTE with room for a full 8-bit palette.
struct LogPalette {
  std::uint16_t version = 0x300;
  std::uint16_t entry_count = 0;
  std::array<PaletteEntry, 256> entries{};
};

// PICTDESC for a bitmap: a 20-byte description, picture type 1, the bitmap and its palette.
struct PictDesc {
  std::uint32_t size = 20;
  std::uint32_t type = 1;
  GdiHandle bitmap = 0;
  GdiHandle palette = 0;
};

// The constants the calls take, with Windows' values. Where the Windows headers came first they
// are its macros already, and a declaration here would not compile.
#ifndef RASTERCAPS
inline constexpr std::int32_t RASTERCAPS = 38;
#endif
#ifndef SIZEPALETTE
inline constexpr std::int32_t SIZEPALETTE = 104;
#endif
#ifndef RC_PALETTE
inline constexpr std::int32_t RC_PALETTE = 0x100;
#endif
#ifndef SRCCOPY
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
#endif
#ifndef PICTYPE_BITMAP
inline constexpr std::uint32_t PICTYPE_BITMAP = 1;
#endif

class ButtonApi {
 public:
  virtual ~ButtonApi() = default;

  // gdi32.
  virtual GdiHandle CreateCompatibleDC(GdiHandle dc) = 0;
  virtual GdiHandle CreateCompatibleBitmap(GdiHandle dc, std::int32_t width,
                                           std::int32_t height) = 0;
  // Selects a bitmap into a memory DC; hands back the one it replaces (0 on failure).
  virtual GdiHandle SelectObject(GdiHandle dc, GdiHandle object) = 0;
  virtual bool DeleteDC(GdiHandle dc) = 0;
  virtual bool DeleteObject(GdiHandle object) = 0;
  virtual std::int32_t GetDeviceCaps(GdiHandle dc, std::int32_t index) = 0;
  // Copies up to entries.size() entries of the system palette from start on; the count copied.
  virtual std::uint32_t GetSystemPaletteEntries(GdiHandle dc, std::uint32_t start,
                                                std::span<PaletteEntry> entries) = 0;
  virtual GdiHandle CreatePalette(const LogPalette& palette) = 0;
  virtual GdiHandle SelectPalette(GdiHandle dc, GdiHandle palette, bool force_background) = 0;
  virtual std::uint32_t RealizePalette(GdiHandle dc) = 0;
  virtual bool BitBlt(GdiHandle dest, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height, GdiHandle source, std::int32_t source_x,
                      std::int32_t source_y, std::uint32_t rop) = 0;

  // OleCreatePictureIndirect for the automation interface of a picture: a picture object for
  // the bitmap (and palette) of the description, or nullptr when it cannot be made. With
  // own set, the picture deletes the bitmap and the palette when its last holder lets go.
  virtual PictureRef OleCreatePictureIndirect(const PictDesc& desc, bool own) = 0;

  // A picture's bitmap handle (its Handle property), for selecting it into a memory DC. It stays
  // valid for as long as the picture lives; 0 when the picture has no bitmap.
  virtual GdiHandle PictureHandle(const PictureRef& picture) = 0;

  // user32.
  virtual ScreenPoint GetCursorPos() = 0;
  // The window under a point, as a 32-bit handle (0 for none). Hidden and disabled windows are
  // passed over: a point over a disabled child yields its parent.
  virtual std::int32_t WindowFromPoint(ScreenPoint point) = 0;
};

}  // namespace px
