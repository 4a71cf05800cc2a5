// The simulated registry answers as advapi32's narrow functions do.
#include "platform/sim/registry_sim.h"

#include <gtest/gtest.h>
#include <cstring>

namespace px::sim {
namespace {

constexpr RegKey kHklm = kHkeyLocalMachine;

class SimRegistryTest : public ::testing::Test {
 protected:
  SimRegistryTest() {
    registry.store().SetString(kHklm, u"SOFTWARE\\Vendor", u"Name", u"Printer");
    registry.store().SetString(kHklm, u"SOFTWARE\\Vendor", u"", u"default");
    registry.store().SetDword(kHklm, u"SOFTWARE\\Vendor", u"Port", 0x01020304);
    registry.store().SetString(kHklm, u"SOFTWARE\\Vendor", u"Chinese", u"打印机");
  }

  RegKey Open(const char* path) {
    RegKey key = 0;
    EXPECT_EQ(registry.RegOpenKeyExA(kHklm, path, 0, kKeyRead, &key), kErrorSuccess) << path;
    return key;
  }

  SimRegistry registry{936};
};

TEST_F(SimRegistryTest, HandleZeroIsInvalidForEveryCall) {
  RegKey key = 123;
  std::uint32_t size = 0;
  char name[16];
  EXPECT_EQ(registry.RegOpenKeyA(0, "SOFTWARE", &key), kErrorInvalidHandle);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(registry.RegOpenKeyExA(0, "SOFTWARE", 0, kKeyRead, &key), kErrorInvalidHandle);
  EXPECT_EQ(registry.RegQueryValueExA(0, "Name", nullptr, nullptr, &size), kErrorInvalidHandle);
  EXPECT_EQ(registry.RegEnumKeyA(0, 0, name, sizeof name), kErrorInvalidHandle);
  EXPECT_EQ(registry.RegCloseKey(0), kErrorInvalidHandle);
}

TEST_F(SimRegistryTest, OpensPathsAsWindowsParsesThem) {
  struct Case {
    const char* path;
    std::int32_t status;
  };
  const Case cases[] = {
      {"SOFTWARE\\Vendor", kErrorSuccess},
      {"software\\VENDOR", kErrorSuccess},    // names ignore letter case
      {"SOFTWARE\\Vendor\\", kErrorSuccess},  // a trailing separator names the same key
      {"SOFTWARE\\\\Vendor", kErrorSuccess},  // so does a doubled one
      {"\\SOFTWARE\\Vendor", kErrorBadPathname},
      {"SOFTWARE\\Vendo", kErrorFileNotFound},
      {"SOFTWARE\\Vendor\\Missing", kErrorFileNotFound},
  };
  for (const Case& c : cases) {
    RegKey key = 77;
    EXPECT_EQ(registry.RegOpenKeyExA(kHklm, c.path, 0, kKeyRead, &key), c.status) << c.path;
    EXPECT_EQ(key != 0, c.status == kErrorSuccess) << c.path;
    if (key != 0) {
      EXPECT_EQ(registry.RegCloseKey(key), kErrorSuccess);
    }
  }
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(SimRegistryTest, EmptySubKeyGivesTheSameHandleOnlyToRegOpenKey) {
  const RegKey vendor = Open("SOFTWARE\\Vendor");
  RegKey same = 0;
  EXPECT_EQ(registry.RegOpenKeyA(vendor, "", &same), kErrorSuccess);
  EXPECT_EQ(same, vendor);
  RegKey fresh = 0;
  EXPECT_EQ(registry.RegOpenKeyExA(vendor, nullptr, 0, kKeyRead, &fresh), kErrorSuccess);
  EXPECT_NE(fresh, vendor);
  EXPECT_EQ(registry.RegCloseKey(fresh), kErrorSuccess);
  EXPECT_EQ(registry.RegCloseKey(vendor), kErrorSuccess);
  EXPECT_EQ(registry.RegCloseKey(vendor), kErrorInvalidHandle);  // closed already
  EXPECT_EQ(registry.RegCloseKey(kHklm), kErrorSuccess);         // predefined: stays usable
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(SimRegistryTest, QueriesSizeTypeAndData) {
  const RegKey key = Open("SOFTWARE\\Vendor");
  std::uint32_t type = 99;
  std::uint32_t size = 0;
  // The size alone, in ANSI bytes with the NUL.
  EXPECT_EQ(registry.RegQueryValueExA(key, "Name", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(registry.RegQueryValueExA(key, "Chinese", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 7u);  // three characters of two bytes in code page 936

  // A short buffer: ERROR_MORE_DATA, the size needed, the buffer untouched.
  std::uint8_t buffer[16];
  std::memset(buffer, ' ', sizeof buffer);
  size = 4;
  EXPECT_EQ(registry.RegQueryValueExA(key, "Name", &type, buffer, &size), kErrorMoreData);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(buffer[0], ' ');

  size = 8;
  EXPECT_EQ(registry.RegQueryValueExA(key, "name", &type, buffer, &size), kErrorSuccess);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), std::string("Printer\0", 8));

  size = sizeof buffer;
  EXPECT_EQ(registry.RegQueryValueExA(key, "Chinese", &type, buffer, &size), kErrorSuccess);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size),
            std::string("\xB4\xF2\xD3\xA1\xBB\xFA\0", 7));

  size = sizeof buffer;
  EXPECT_EQ(registry.RegQueryValueExA(key, "Port", &type, buffer, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), std::string("\x04\x03\x02\x01"));

  // The default value answers to an empty or a null name.
  size = sizeof buffer;
  EXPECT_EQ(registry.RegQueryValueExA(key, nullptr, &type, buffer, &size), kErrorSuccess);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(registry.RegQueryValueExA(key, "", nullptr, nullptr, nullptr), kErrorSuccess);

  EXPECT_EQ(registry.RegQueryValueExA(key, "Missing", &type, nullptr, &size), kErrorFileNotFound);
  EXPECT_EQ(registry.RegQueryValueExA(key, "Name", &type, buffer, nullptr), kErrorInvalidParameter);
  registry.RegCloseKey(key);
}

TEST_F(SimRegistryTest, StringTypesReadInTheCodePageOthersAsStored) {
  const std::string stored = StringData(u"é");
  for (std::uint32_t type : {kRegSz, kRegExpandSz, kRegMultiSz, kRegBinary, kRegNone}) {
    SimRegistry english(1252);
    english.store().SetValue(kHklm, u"K", {u"V", type, stored});
    RegKey key = 0;
    english.RegOpenKeyA(kHklm, "K", &key);
    std::uint8_t buffer[8];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(english.RegQueryValueExA(key, "V", nullptr, buffer, &size), kErrorSuccess);
    const bool text = type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size),
              text ? std::string("\xE9\0", 2) : stored)
        << "type " << type;
    english.RegCloseKey(key);
  }
}

// Windows keeps sub-keys sorted by their upper-case names: "_" (0x5F) sorts after the
// upper-case letters, where a lower-case comparison would put it before them.
TEST_F(SimRegistryTest, EnumeratesSubKeysSortedByUpperCaseName) {
  for (TextView name : {u"b", u"a_b", u"aB", u"A", u"键", u"z", u"{28d}", u"10", u"9"}) {
    registry.store().Create(kHklm, u"SOFTWARE\\List\\" + Text(name));
  }
  const RegKey key = Open("SOFTWARE\\List");
  std::vector<std::string> names;
  char name[32];
  std::int32_t status;
  std::uint32_t index = 0;
  while ((status = registry.RegEnumKeyA(key, index, name, sizeof name)) == kErrorSuccess) {
    names.emplace_back(name);
    ++index;
  }
  EXPECT_EQ(status, kErrorNoMoreItems);
  EXPECT_EQ(names,
            (std::vector<std::string>{"10", "9", "A", "aB", "a_b", "b", "z", "{28d}", "\xBC\xFC"}));
  registry.RegCloseKey(key);
}

TEST_F(SimRegistryTest, EnumRefusesANameThatDoesNotFitWithItsNul) {
  registry.store().Create(kHklm, u"SOFTWARE\\Fit\\abcd");
  const RegKey key = Open("SOFTWARE\\Fit");
  char name[8];
  EXPECT_EQ(registry.RegEnumKeyA(key, 0, name, 4), kErrorMoreData);
  EXPECT_EQ(registry.RegEnumKeyA(key, 0, name, 5), kErrorSuccess);
  EXPECT_STREQ(name, "abcd");
  EXPECT_EQ(registry.RegEnumKeyA(key, 1, name, 5), kErrorNoMoreItems);
  registry.RegCloseKey(key);
}

TEST_F(SimRegistryTest, KeyDeletedWhileOpenAnswersAsDeleted) {
  const RegKey key = Open("SOFTWARE\\Vendor");
  ASSERT_TRUE(registry.store().Delete(kHklm, u"SOFTWARE\\Vendor"));
  std::uint32_t size = 0;
  EXPECT_EQ(registry.RegQueryValueExA(key, "Name", nullptr, nullptr, &size), 1018);
  EXPECT_EQ(registry.RegCloseKey(key), kErrorSuccess);
}

TEST_F(SimRegistryTest, CountsEveryCall) {
  registry.ResetCalls();
  RegKey key = 0;
  registry.RegOpenKeyA(kHklm, "SOFTWARE\\Vendor", &key);
  registry.RegOpenKeyExA(kHklm, "Missing", 0, kKeyRead, &key);
  std::uint32_t size = 0;
  registry.RegQueryValueExA(0, "Name", nullptr, nullptr, &size);
  registry.RegQueryValueExA(0, "Name", nullptr, nullptr, &size);
  char name[8];
  registry.RegEnumKeyA(0, 0, name, sizeof name);
  registry.RegCloseKey(0);
  const RegistryCalls& calls = registry.calls();
  EXPECT_EQ(calls.open_key, 1u);
  EXPECT_EQ(calls.open_key_ex, 1u);
  EXPECT_EQ(calls.query_value, 2u);
  EXPECT_EQ(calls.enum_key, 1u);
  EXPECT_EQ(calls.close_key, 1u);
}

TEST(RegistryStore, KeyNamesLongerThan255CharactersCannotBeCreated) {
  RegistryStore store;
  EXPECT_NE(store.Create(kHklm, u"K\\" + Text(255, u'n')), nullptr);
  EXPECT_EQ(store.Create(kHklm, u"K\\" + Text(256, u'n')), nullptr);
  EXPECT_EQ(store.Create(kHklm, u"K\\" + Text(300, u'n')), nullptr);
}

}  // namespace
}  // namespace px::sim
