#pragma once

#include <cstdint>

#include "base/win32/windows_api.h"

namespace px::win32 {

// The description of a top-down 32-bit DIB of width x height: its pixels are 0xAARRGGBB words,
// top row first, the same words as every picture here, so pixels pass between the two unchanged.
inline BITMAPINFO ArgbDibInfo(std::int32_t width, std::int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace px::win32
