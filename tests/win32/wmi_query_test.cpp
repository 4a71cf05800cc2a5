#include "platform/win32/wmi_query.h"

#include <gtest/gtest.h>

#include "base/utf.h"

#include "base/win32/com_ptr.h"

namespace px::win32 {
namespace {

class WmiQueryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(com_.result())); }
  ComApartment com_;
};

// Wine's WMI knows the class and lists no association (S_OK, no rows): an empty enumeration, not
// an error. On Windows every path is a Win32_PnPEntity reference.
TEST_F(WmiQueryTest, UsbAssociationsAreReadOneByOne) {
  WmiUsbAssociations usb;
  auto associations = usb.Query();
  ASSERT_TRUE(associations.ok()) << ToUtf8(associations.error().text);
  UsbAssociationCursor& cursor = *associations.value();
  for (;;) {
    Expected<bool> more = cursor.Next();
    ASSERT_TRUE(more.ok()) << ToUtf8(more.error().text);
    if (!more.value()) break;
    Expected<Text> path = cursor.Dependent();
    ASSERT_TRUE(path.ok()) << ToUtf8(path.error().text);
    EXPECT_NE(path.value().find(u"Win32_PnPEntity"), Text::npos) << ToUtf8(path.value());
  }
  // The end stays the end.
  Expected<bool> more = cursor.Next();
  ASSERT_TRUE(more.ok());
  EXPECT_FALSE(more.value());
}

TEST_F(WmiQueryTest, ReadsAPropertyOfEveryObjectAsText) {
  auto captions = QueryWmiProperty(L"Select * From Win32_OperatingSystem", L"Caption");
  ASSERT_TRUE(captions.ok()) << ToUtf8(captions.error().text);
  ASSERT_EQ(captions.value().size(), 1u);
  EXPECT_FALSE(captions.value()[0].empty());
  // A number reads as its decimal text.
  auto processors =
      QueryWmiProperty(L"Select * From Win32_Processor", L"NumberOfLogicalProcessors");
  ASSERT_TRUE(processors.ok()) << ToUtf8(processors.error().text);
  ASSERT_FALSE(processors.value().empty());
  EXPECT_GE(std::stoi(ToUtf8(processors.value()[0])), 1);
}

TEST_F(WmiQueryTest, AFailingCallIsAnErrorNamingIt) {
  auto malformed = QueryWmiProperty(L"Selec * Frm Win32_OperatingSystem", L"Name");
  ASSERT_FALSE(malformed.ok());
  EXPECT_EQ(malformed.error().text.rfind(u"WMI ", 0), 0u) << ToUtf8(malformed.error().text);
  EXPECT_NE(malformed.error().text.find(u"0x8004"), Text::npos) << ToUtf8(malformed.error().text);

  auto no_property = QueryWmiProperty(L"Select * From Win32_OperatingSystem", L"NoSuchProperty");
  ASSERT_FALSE(no_property.ok());
  EXPECT_EQ(no_property.error().text.rfind(u"WMI Get NoSuchProperty: 0x", 0), 0u)
      << ToUtf8(no_property.error().text);
}

}  // namespace
}  // namespace px::win32
