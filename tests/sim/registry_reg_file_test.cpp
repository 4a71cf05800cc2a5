// .reg files as regedit and reg export write them, loaded into the simulated registry.
#include "platform/sim/reg_file.h"

#include <gtest/gtest.h>

#include "base/utf.h"
#include "platform/sim/dependent_list.h"

namespace px::sim {
namespace {

constexpr RegKey kHklm = kHkeyLocalMachine;

// A version 5 export as regedit saves it: UTF-16LE with a BOM and CR LF line ends.
std::string Utf16LeFile(std::string_view utf8) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : Utf8Literal(utf8)) {
    if (c == u'\n') bytes += std::string("\r\0", 2);
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

RegistryStore Load(std::string_view bytes, unsigned code_page = 936) {
  RegistryStore store;
  LoadRegFile(store, bytes, "test.reg", CodePage(code_page));
  return store;
}

const RegValue* Value(const RegistryStore& store, TextView key, TextView name) {
  const auto node = store.Find(kHklm, key);
  return node ? node->FindValue(name) : nullptr;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TEST(RegFile, LoadsEveryKindOfValueOfAVersion5Export) {
  const RegistryStore store = Load(Utf16LeFile(R"(Windows Registry Editor Version 5.00

; exported for the support desk
[HKEY_LOCAL_MACHINE\SOFTWARE\Vendor]
@="default text"
"Path"="C:\\Drivers\\PX \"new\""
"Count"=dword:0000010a
"Blob"=hex:de,ad,BE,ef
"Expand"=hex(2):25,00,41,00,25,00,00,00
"Multi"=hex(7):61,00,00,00,62,00,00,00,00,00
"Quad"=hex(b):01,00,00,00,00,00,00,00
"None"=hex(0):
"Long"=hex:00,01,02,03,\
  04,05,\
  06
"名称"="打印机"

[HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\打印机]
)"));
  const TextView key = u"SOFTWARE\\Vendor";
  struct Expected {
    TextView name;
    std::uint32_t type;
    std::string data;
  };
  const Expected expected[] = {
      {u"", kRegSz, StringData(u"default text")},
      {u"Path", kRegSz, StringData(u"C:\\Drivers\\PX \"new\"")},
      {u"count", kRegDword, DwordData(0x10a)},
      {u"Blob", kRegBinary, Bytes({0xde, 0xad, 0xbe, 0xef})},
      {u"Expand", kRegExpandSz, StringData(u"%A%")},
      {u"Multi", kRegMultiSz, Bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0})},
      {u"Quad", kRegQword, Bytes({1, 0, 0, 0, 0, 0, 0, 0})},
      {u"None", kRegNone, ""},
      {u"Long", kRegBinary, Bytes({0, 1, 2, 3, 4, 5, 6})},
      {u"名称", kRegSz, StringData(u"打印机")},
  };
  for (const Expected& e : expected) {
    const RegValue* value = Value(store, key, e.name);
    ASSERT_NE(value, nullptr) << ToUtf8(e.name);
    EXPECT_EQ(value->type, e.type) << ToUtf8(e.name);
    EXPECT_EQ(value->data, e.data) << ToUtf8(e.name);
  }
  EXPECT_NE(store.Find(kHklm, u"SOFTWARE\\VENDOR\\打印机"), nullptr);
}

// REGEDIT4 files hold their strings in the ANSI code page, hex(2) and hex(7) data included.
TEST(RegFile, LoadsRegedit4InUtf8OrInTheAnsiCodePage) {
  const std::string utf8 =
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K\\打印]\r\n\"V\"=\"机\"\r\n"
      "\"E\"=hex(2):b4,f2,00\r\n";
  const std::string ansi =
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K\\\xB4\xF2\xD3\xA1]\r\n"
      "\"V\"=\"\xBB\xFA\"\r\n\"E\"=hex(2):b4,f2,00\r\n";
  for (const std::string& file : {utf8, ansi}) {
    const RegistryStore store = Load(file, 936);
    const RegValue* v = Value(store, u"K\\打印", u"V");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->data, StringData(u"机"));
    const RegValue* e = Value(store, u"K\\打印", u"E");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->data, StringData(u"打"));
  }
}

TEST(RegFile, DeletesKeysAndValues) {
  const RegistryStore store = Load(Utf16LeFile(R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\A\B\C]
"x"="1"
[HKEY_LOCAL_MACHINE\A\D]
"y"="2"
"z"="3"
[-HKEY_LOCAL_MACHINE\A\B]
[-HKEY_LOCAL_MACHINE\A\Never]
[HKEY_LOCAL_MACHINE\A\D]
"y"=-
)"));
  EXPECT_EQ(store.Find(kHklm, u"A\\B"), nullptr);
  EXPECT_EQ(store.Find(kHklm, u"A\\B\\C"), nullptr);
  EXPECT_EQ(Value(store, u"A\\D", u"y"), nullptr);
  EXPECT_NE(Value(store, u"A\\D", u"z"), nullptr);
}

TEST(RegFile, LaterFilesOverrideEarlierOnes) {
  RegistryStore store;
  const CodePage page(936);
  LoadRegFile(store, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=\"old\"\n\"w\"=\"kept\"\n", "a.reg",
              page);
  LoadRegFile(store, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"V\"=\"new\"\n", "b.reg", page);
  EXPECT_EQ(Value(store, u"K", u"v")->data, StringData(u"new"));
  EXPECT_EQ(Value(store, u"K", u"w")->data, StringData(u"kept"));
}

TEST(RegFile, KeyPathsEndingInASeparatorNameTheSameKey) {
  const RegistryStore store = Load("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K\\]\n\"v\"=\"1\"\n");
  EXPECT_NE(Value(store, u"K", u"v"), nullptr);
}

TEST(RegFile, RejectsMalformedFilesNamingLineAndReason) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"", "test.reg:1: empty file"},
      {"Windows Registry Editor Version 4.00\n", "test.reg:1: not a .reg file"},
      {"REGEDIT4\n\"v\"=\"1\"\n", "test.reg:2: value outside a key"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n[-HKEY_LOCAL_MACHINE\\K]\n\"v\"=\"1\"\n",
       "test.reg:4: value outside a key"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K\n", "test.reg:2: key without its closing ]"},
      {"REGEDIT4\n[HKLM\\K]\n", "test.reg:2: unknown root key \"HKLM\""},
      {"REGEDIT4\n[-HKEY_LOCAL_MACHINE]\n", "test.reg:2: a root key cannot be deleted"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K] x\n", "test.reg:2: unexpected \"x\""},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=\"open\n", "test.reg:3: text without its closing"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=\"a\\tb\"\n", "test.reg:3: unknown escape \\t"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\" \"1\"\n", "test.reg:3: expected ="},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=dword:123456789\n", "test.reg:3: dword:"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=dword:\n", "test.reg:3: dword:"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=dword:12 34\n", "test.reg:3: unexpected"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=hex:0g\n", "test.reg:3: \"0g\" is not a hex"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=hex:100\n", "test.reg:3: \"100\" is not a hex"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=hex:01,,02\n", "test.reg:3: \"\" is not a hex"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=hex(x):01\n", "test.reg:3: hex( needs"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=hex 01\n", "test.reg:3: expected : after hex"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=hex:01,\\\n", "test.reg:3: the file ends inside"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=str\n", "test.reg:3: unknown value data"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\nv=1\n", "test.reg:3: expected [key]"},
      {"REGEDIT4\n\n\n[HKEY_LOCAL_MACHINE\\K\\\\\\]\n\"a\"=hex:01,\\\n 02,\\\n zz\n",
       "test.reg:7: \"zz\" is not a hex"},
      {"\xFF\xFE"
       "R",
       "test.reg: UTF-16 text with an odd number of bytes"},
  };
  for (const Case& c : cases) {
    try {
      Load(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const MachineError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << error.what() << "\nexpected: " << c.message;
    }
  }
}

TEST(RegFile, KeyNamesAreLimitedTo255Characters) {
  const std::string name255(255, 'k');
  EXPECT_NO_THROW(Load("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K\\" + name255 + "]\n"));
  const std::string name300(300, 'k');
  try {
    Load("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K\\" + name300 + "]\n");
    ADD_FAILURE() << "a 300-character key name was accepted";
  } catch (const MachineError& error) {
    EXPECT_STREQ(error.what(), "test.reg:2: key name longer than 255 characters");
  }
}

TEST(RegFile, ToleratesWhatExportsContain) {
  // A key name holding "]", blanks around "=", comments after entries, no final line end.
  const RegistryStore store = Load(
      "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\K\\a]b]  ; note\r\n\"v\" = \"x\" ; note\r\n"
      "\"h\"=hex:01, 02 ,03 ; note\r\n\"d\"=DWORD:FFFFFFFF");
  EXPECT_NE(Value(store, u"K\\a]b", u"v"), nullptr);
  EXPECT_EQ(Value(store, u"K\\a]b", u"h")->data, Bytes({1, 2, 3}));
  EXPECT_EQ(Value(store, u"K\\a]b", u"d")->data, DwordData(0xFFFFFFFF));
}

}  // namespace
}  // namespace px::sim
