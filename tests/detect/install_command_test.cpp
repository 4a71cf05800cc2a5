#include "detect/install_command.h"

#include <gtest/gtest.h>

#include "base/utf.h"

namespace px {
namespace {

TEST(InstallCommand, BuildsThePrintUiCommandLinePieceByPiece) {
  const struct {
    const char16_t* folder;
    const char16_t* model;
    const char16_t* port;
    const char16_t* expected;
  } cases[] = {
      {u"C:\\Drivers", u"ExampleModel", u"USB001",
       u"rundll32 printui.dll,PrintUIEntry /if /b \"ExampleModel\" /f C:\\Drivers\\PX\\PX.inf "
       u"/r USB001 /m \"ExampleModel\""},
      // A model name with a blank stays one argument; the port goes in as it is.
      {u"C:\\Drivers", u"Lunor L58T", u"lpt1:",
       u"rundll32 printui.dll,PrintUIEntry /if /b \"Lunor L58T\" /f C:\\Drivers\\PX\\PX.inf "
       u"/r lpt1: /m \"Lunor L58T\""},
      // A drive root keeps its separator: C:\\PX\PX.inf is read as C:\PX\PX.inf.
      {u"C:\\", u"QV_58II", u"USB012",
       u"rundll32 printui.dll,PrintUIEntry /if /b \"QV_58II\" /f C:\\\\PX\\PX.inf /r USB012 "
       u"/m \"QV_58II\""},
      // A folder with blanks is quoted, so that the INF path is not split.
      {u"C:\\Program Files (x86)\\PX", u"NY-80K", u"USB001",
       u"rundll32 printui.dll,PrintUIEntry /if /b \"NY-80K\" /f \"C:\\Program Files "
       u"(x86)\\PX\\PX\\PX.inf\" /r USB001 /m \"NY-80K\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrintUiCommandLine(c.model, InfPath(c.folder), c.port, c.model), c.expected)
        << ToUtf8(c.folder);
  }
}

}  // namespace
}  // namespace px
