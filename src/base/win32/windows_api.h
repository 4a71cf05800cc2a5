#pragma once

// The one way into the Windows headers: the program targets Windows 7 and later; anything newer
// is looked up at run time, so that the program still loads on an old system.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>

#include <string>
#include <string_view>

#include "base/text.h"

namespace px::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

// A Text is handed to the wide-character API as it stands.
inline const wchar_t* Wide(const Text& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline Text FromWide(const wchar_t* text, std::size_t length) {
  return Text(reinterpret_cast<const char16_t*>(text), length);
}

inline Text FromWide(std::wstring_view text) { return FromWide(text.data(), text.size()); }

}  // namespace px::win32
