#pragma once

#include <string_view>

#include "base/win32/windows_api.h"
#include "platform/system_error.h"

namespace px::win32 {

// The one place where a Windows failure becomes a SystemError: what was attempted, the code in
// hexadecimal and the system's own text for it, e.g.
//   "CreateProcessW: 0x80070002 The system cannot find the file specified."
SystemError HresultError(std::wstring_view what, HRESULT hr);

// A Win32 error code (GetLastError) is reported as the HRESULT Windows makes of it.
SystemError Win32Error(std::wstring_view what, DWORD code);

// Win32Error with GetLastError(), read before anything else can overwrite it.
SystemError LastError(std::wstring_view what);

// The system's text for an HRESULT, without its trailing line break; empty when none is known.
Text SystemMessageText(HRESULT hr);

}  // namespace px::win32
