// px-installer.exe's version resource, read back as Explorer and the elevation prompt read it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/win32/windows_api.h"
#include "texts/installer_texts.h"
#include "wine_path.h"

namespace {

class VersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring path = px::testing::WindowsPathOf(PX_INSTALLER_EXE);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no version resource, error " << GetLastError();
    block_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block_.data()));
  }

  // A value of the string table named by the resource's first translation.
  std::wstring String(const wchar_t* name) {
    struct Translation {
      WORD language;
      WORD code_page;
    };
    void* data = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &data, &length) ||
        length < sizeof(Translation)) {
      ADD_FAILURE() << "no translation";
      return {};
    }
    const Translation t = *static_cast<const Translation*>(data);
    wchar_t key[64];
    swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\%ls", t.language, t.code_page, name);
    if (!VerQueryValueW(block_.data(), key, &data, &length) || length == 0) {
      ADD_FAILURE() << "no value for " << std::string(name, name + wcslen(name));
      return {};
    }
    return static_cast<const wchar_t*>(data);  // length counts the terminating zero
  }

  std::vector<unsigned char> block_;
};

struct StringCase {
  const wchar_t* name;
  const wchar_t* expected;
};

TEST_F(VersionResource, NamesProductCompanyDescriptionAndVersion) {
  const StringCase cases[] = {
      {L"ProductName", L"" PX_PRODUCT_NAME},         {L"CompanyName", L"" PX_COMPANY_NAME},
      {L"FileDescription", L"" PX_FILE_DESCRIPTION}, {L"FileVersion", L"" PX_VERSION},
      {L"ProductVersion", L"" PX_VERSION},           {L"OriginalFilename", L"px-installer.exe"},
  };
  for (const StringCase& c : cases) {
    EXPECT_EQ(String(c.name), c.expected) << std::string(c.name, c.name + wcslen(c.name));
  }
}

TEST_F(VersionResource, FixedVersionIsTheProjectVersion) {
  void* data = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\", &data, &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(data);
  EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
  const DWORD ms = (PX_VERSION_MAJOR << 16) | PX_VERSION_MINOR;
  const DWORD ls = static_cast<DWORD>(PX_VERSION_PATCH) << 16;
  EXPECT_EQ(fixed.dwFileVersionMS, ms);
  EXPECT_EQ(fixed.dwFileVersionLS, ls);
  EXPECT_EQ(fixed.dwProductVersionMS, ms);
  EXPECT_EQ(fixed.dwProductVersionLS, ls);
}

// The publisher the resource names is the one the window's provider line names.
TEST(VersionResourceCompany, IsTheProviderOfTheWindowsEnglishText) {
  const std::u16string_view provider = px::TextFor(px::TextId::kProvider, 1);
  const std::string company = PX_COMPANY_NAME;
  EXPECT_TRUE(provider.ends_with(std::u16string(company.begin(), company.end())));
}

}  // namespace
