#include "platform/win32/system_error_win32.h"

#include <gtest/gtest.h>

#include "base/utf.h"

namespace px::win32 {
namespace {

TEST(SystemErrorWin32, NamesTheCallTheCodeAndTheSystemsText) {
  struct Case {
    SystemError error;
    const char16_t* start;
    bool has_system_text;
  };
  const Case cases[] = {
      {Win32Error(L"CreateProcessW", ERROR_FILE_NOT_FOUND), u"CreateProcessW: 0x80070002 ", true},
      {HresultError(L"WMI ConnectServer", E_ACCESSDENIED), u"WMI ConnectServer: 0x80070005 ", true},
      {HresultError(L"WMI ExecQuery", E_OUTOFMEMORY), u"WMI ExecQuery: 0x8007000E ", true},
      // A code without a system text is named by its number alone.
      {HresultError(L"X", static_cast<HRESULT>(0xA0FF1234)), u"X: 0xA0FF1234", false},
  };
  for (const Case& c : cases) {
    const Text& text = c.error.text;
    EXPECT_EQ(text.rfind(c.start, 0), 0u) << ToUtf8(text);
    if (c.has_system_text) {
      EXPECT_GT(text.size(), Text(c.start).size()) << ToUtf8(text);
    } else {
      EXPECT_EQ(text, c.start);
    }
    EXPECT_FALSE(text.ends_with(u'\n') || text.ends_with(u'\r') || text.ends_with(u' '))
        << ToUtf8(text);
  }
}

TEST(SystemErrorWin32, LastErrorReadsTheThreadsCode) {
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(LastError(L"OpenThing").text.rfind(u"OpenThing: 0x80070005 ", 0), 0u);
}

}  // namespace
}  // namespace px::win32
