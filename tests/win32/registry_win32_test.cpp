// The registry adapter and the port search on the real registry: .reg files are imported with
// regedit /S and read back through advapi32. Runs only under Wine, because it rewrites the
// printer registrations of the machine.
#include "platform/win32/registry_win32.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <string>

#include "app/print_policy.h"
#include "base/utf.h"
#include "base/win32/windows_api.h"
#include "platform/win32/system_info_win32.h"
#include "port/find_printer_port.h"
#include "port/registry_routines.h"

namespace px::win32 {
namespace {

constexpr char kClassKey[] =
    R"(HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{28d78fad-5a12-11d1-ae5b-0000f803a8c2})";
constexpr char kUsbPrintKey[] =
    R"(HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\usbprint\Enum)";
constexpr char kScratchKey[] = R"(HKEY_CURRENT_USER\Software\px-installer-tests)";

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Writes the .reg text as regedit saves it (UTF-16LE with a BOM, CR LF) and imports it.
void Import(const std::string& utf8) {
  wchar_t folder[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  const std::wstring path = std::wstring(folder) + L"px-registry-test.reg";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : Utf8Literal("Windows Registry Editor Version 5.00\n\n" + utf8)) {
    if (c == u'\n') bytes += std::string("\r\0", 2);
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());

  std::wstring command = L"regedit.exe /S \"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DeleteFileW(path.c_str());
}

std::string Key(const char* key) { return std::string("[") + key + "]\n"; }
std::string DeleteKey(const char* key) { return std::string("[-") + key + "]\n"; }

// The registration of a USB printer interface, as Windows writes it.
std::string Interface(const std::string& instance_key_name, int port) {
  char dword[16];
  std::snprintf(dword, sizeof dword, "%08x", port);
  return std::string("[") + kClassKey + "\\##?#" + instance_key_name +
         "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#\\Device Parameters]\n\"Port Number\"=dword:" +
         dword + "\n";
}

class RegistryUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!UnderWine()) GTEST_SKIP() << "rewrites the printer registrations: runs under Wine only";
    Import(DeleteKey(kClassKey) + DeleteKey(kUsbPrintKey) + DeleteKey(kScratchKey));
  }
  void TearDown() override {
    if (UnderWine())
      Import(DeleteKey(kClassKey) + DeleteKey(kUsbPrintKey) + DeleteKey(kScratchKey));
  }

  Text Port() {
    PortSearch search;
    FindPrinterPort(registry, search, NoReaders());
    return search.PortName;
  }

  Win32Registry registry;
};

TEST_F(RegistryUnderWine, AnswersWithAdvapi32StatusCodes) {
  Import(Key(kScratchKey) + "\"Name\"=\"Printer\"\n\"Expand\"=hex(2):25,00,41,00,25,00,00,00\n" +
         Key((std::string(kScratchKey) + "\\b").c_str()) +
         Key((std::string(kScratchKey) + "\\A").c_str()) +
         Key((std::string(kScratchKey) + "\\" + std::string(255, 'n')).c_str()));
  RegKey key = 0;
  ASSERT_EQ(
      registry.RegOpenKeyExA(kHkeyCurrentUser, "Software\\px-installer-tests\\", 0, kKeyRead, &key),
      kErrorSuccess);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(registry.RegQueryValueExA(key, "Name", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 8u);
  std::uint8_t buffer[4];
  size = sizeof buffer;
  EXPECT_EQ(registry.RegQueryValueExA(key, "Name", &type, buffer, &size), kErrorMoreData);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(registry.RegQueryValueExA(key, "Missing", &type, nullptr, &size), kErrorFileNotFound);

  char name[255];
  EXPECT_EQ(registry.RegEnumKeyA(key, 0, name, sizeof name), kErrorSuccess);
  EXPECT_STREQ(name, "A");
  EXPECT_EQ(registry.RegEnumKeyA(key, 1, name, sizeof name), kErrorSuccess);
  EXPECT_STREQ(name, "b");
  EXPECT_EQ(registry.RegEnumKeyA(key, 2, name, sizeof name), kErrorMoreData);  // 255 + NUL
  EXPECT_EQ(registry.RegEnumKeyA(key, 3, name, sizeof name), kErrorNoMoreItems);
  EXPECT_EQ(registry.RegCloseKey(key), kErrorSuccess);

  EXPECT_EQ(registry.RegQueryValueExA(0, "Name", &type, nullptr, &size), kErrorInvalidHandle);
  EXPECT_EQ(registry.RegEnumKeyA(0, 0, name, sizeof name), kErrorInvalidHandle);
  EXPECT_EQ(registry.RegCloseKey(0), kErrorInvalidHandle);

  EXPECT_EQ(ReadRegistryString(registry, kHkeyCurrentUser, u"Software\\px-installer-tests", u"Name",
                               u"d"),
            u"Printer");
  EXPECT_EQ(ReadRegistryString(registry, kHkeyCurrentUser, u"Software\\px-installer-tests",
                               u"Expand", u"d"),
            u"d");
  EXPECT_EQ(EnumRegistrySubKeys(registry, kHkeyCurrentUser, u"Software\\px-installer-tests"),
            (std::vector<Text>{u"A", u"b"}));
}

// Chinese text reads back through the system's ANSI code page: whole on a Chinese system,
// with "?" for what the code page lacks on any other.
TEST_F(RegistryUnderWine, NonAsciiTextPassesThroughTheAnsiCodePage) {
  Import(Key(kScratchKey) + "\"Model\"=\"打印机 Café\"\n");
  const Text expected = registry.FromAnsi(registry.ToAnsi(u"打印机 Café"));
  EXPECT_EQ(ReadRegistryString(registry, kHkeyCurrentUser, u"Software\\px-installer-tests",
                               u"Model", u"d"),
            expected);
  if (GetACP() == 936 || GetACP() == 1252) {
    EXPECT_EQ(expected, GetACP() == 936 ? u"打印机 Café" : u"??? Café");
  }
}

TEST_F(RegistryUnderWine, FindsThePortOfTheVendorInterfaceUsbPrintServes) {
  Import(Interface("USB#VID_0483&PID_5740#7F3A1B2C", 2) +
         Interface("USB#VID_1A86&PID_5740#A1B2C3D4", 1) + Key(kUsbPrintKey) +
         "\"0\"=\"USB\\\\VID_1A86&PID_5740\\\\A1B2C3D4\"\n" +
         "\"1\"=\"USB\\\\VID_0483&PID_5740\\\\7F3A1B2C\"\n");
  EXPECT_EQ(Port(), u"USB001");
}

TEST_F(RegistryUnderWine, AcceptsTheVendorInLowerCase) {
  Import(Interface("USB#VID_1a86&PID_5740#A1B2C3D4", 12) + Key(kUsbPrintKey) +
         "\"0\"=\"USB\\\\VID_1a86&PID_5740\\\\A1B2C3D4\"\n");
  EXPECT_EQ(Port(), u"USB012");
}

TEST_F(RegistryUnderWine, RejectsAnInterfaceWhoseLookUpEndsOnAMissingValue) {
  Import(Interface("USB#VID_1A86&PID_5740#A1B2C3D4", 1) + Key(kUsbPrintKey) +
         "\"0\"=\"USB\\\\VID_0483&PID_5740\\\\1\"\n\"1\"=\"USB\\\\VID_04B8&PID_0E15\\\\2\"\n");
  EXPECT_EQ(Port(), u"lpt1:");
}

TEST_F(RegistryUnderWine, FallsBackWithoutInterfaces) {
  Import(Key(kUsbPrintKey) + "\"0\"=\"USB\\\\VID_1A86&PID_5740\\\\A1B2C3D4\"\n");
  EXPECT_EQ(Port(), u"lpt1:");
}

TEST_F(RegistryUnderWine, ReadsPortNumbersAboveAByteWhole) {
  Import(Interface("USB#VID_1A86&PID_5740#A1B2C3D4", 256) + Key(kUsbPrintKey) +
         "\"0\"=\"USB\\\\VID_1A86&PID_5740\\\\A1B2C3D4\"\n");
  EXPECT_EQ(Port(), u"USB256");
}

// The printing policies as Group Policy writes them: in the machine's own (64-bit) view, which
// the 32-bit program has to ask for.
class PolicyUnderWine : public ::testing::Test {
 protected:
  static constexpr wchar_t kPrinters[] = L"Software\\Policies\\Microsoft\\Windows NT\\Printers";
  void SetUp() override {
    if (!UnderWine()) GTEST_SKIP() << "rewrites the machine's printing policies: Wine only";
    Clear();
  }
  void TearDown() override {
    if (UnderWine()) Clear();
  }
  static void Clear() {
    for (const wchar_t* sub : {L"\\WPP", L"\\Driver", L""}) {
      RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kPrinters) + sub).c_str(), KEY_WOW64_64KEY,
                      0);
    }
  }
  static void Set(const wchar_t* sub, const wchar_t* name, DWORD type, const void* data,
                  DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kPrinters) + sub).c_str(), 0,
                              nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void SetDword(const wchar_t* sub, const wchar_t* name, DWORD value) {
    Set(sub, name, REG_DWORD, &value, sizeof value);
  }
  static void SetText(const wchar_t* name, const std::wstring& text) {
    Set(L"", name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  PrintPolicy Check() { return CheckPrintPolicy(registry_, system_, false, u"A798"); }

  Win32Registry registry_;
  Win32SystemInfo system_;
};

TEST_F(PolicyUnderWine, ReadsWhatGroupPolicyWrites) {
  EXPECT_EQ(Check().block, PrintPolicy::kNone);
  SetDword(L"\\WPP", L"WindowsProtectedPrintGroupPolicyState", 1);
  EXPECT_EQ(Check().block, PrintPolicy::kProtectedPrint);
  EXPECT_EQ(Check().protected_by, u"policy");

  SetDword(L"\\WPP", L"WindowsProtectedPrintGroupPolicyState", 0);
  SetDword(L"\\Driver", L"ValidationLevel", 3);
  EXPECT_EQ(Check().block, PrintPolicy::kSignature);
  EXPECT_EQ(Check().level, 3u);

  SetDword(L"", L"EnableDeviceControl", 1);
  SetText(L"ApprovedUsbPrintDevices", L"04B8/0E28");
  EXPECT_EQ(Check().approval_missing, u"1A86/A798");
  SetText(L"ApprovedUsbPrintDevices", L"04B8/0E28,1A86/A798");
  EXPECT_EQ(Check().approval_missing, u"");
}

// Wine has no WinRT class for protected print mode: "not known", which is never "off".
TEST_F(PolicyUnderWine, ProtectedPrintIsNotKnownWithoutTheWinRtClass) {
  EXPECT_EQ(system_.ProtectedPrintEnabled(), std::nullopt);
}

}  // namespace
}  // namespace px::win32
