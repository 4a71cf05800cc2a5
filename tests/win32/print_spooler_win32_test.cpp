// The spooler backend and px-installer.exe /uninstall against the spooler of the system they
// run on. The queues are made with the spooler's own calls, on a driver of Wine's PostScript
// driver files (wineps.drv); on Windows, which lacks them, the tests are skipped. Where the
// spooler cannot do a call (Wine deletes no driver with DPD_DELETE_UNUSED_FILES and has no
// DeletePrinterDriverPackage), the test says so and checks that the error is passed on.
#include "platform/win32/print_spooler_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/utf.h"
#include "base/win32/windows_api.h"
#include "wine_path.h"

#include <winspool.h>

namespace px::win32 {
namespace {

constexpr char16_t kDriver[] = u"PX Test Driver";
constexpr char16_t kQueue[] = u"PX Test Queue";

bool AddDriver(const char16_t* name) {
  DRIVER_INFO_3W info{};
  info.cVersion = 3;
  info.pName = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(name));
  info.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
  info.pDataFile = const_cast<wchar_t*>(L"generic.ppd");
  info.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
  return AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES);
}

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine always has the PostScript driver's files; elsewhere a test without them cannot run.
#define PX_ADD_DRIVER_OR_SKIP(name)                                                \
  do {                                                                             \
    if (!AddDriver(name)) {                                                        \
      ASSERT_FALSE(UnderWine()) << "AddPrinterDriverEx: error " << GetLastError(); \
      GTEST_SKIP() << "no PostScript driver files to make a test queue with";      \
    }                                                                              \
  } while (false)

bool AddQueue(const char16_t* name, const wchar_t* port, const char16_t* driver) {
  PRINTER_INFO_2W info{};
  info.pPrinterName = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(name));
  info.pPortName = const_cast<wchar_t*>(port);
  info.pDriverName = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(driver));
  info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
  info.pDatatype = const_cast<wchar_t*>(L"RAW");
  const HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (printer == nullptr) return false;
  ClosePrinter(printer);
  return true;
}

// Leaves the spooler as the test found it: the queues and drivers a test made are gone.
void RemoveLeftovers(Win32PrintSpooler& spooler, std::initializer_list<const char16_t*> queues,
                     std::initializer_list<const char16_t*> drivers) {
  std::vector<PrinterQueueInfo> held;
  spooler.EnumQueues(held);
  for (const char16_t* queue : queues) {
    if (std::any_of(held.begin(), held.end(), [&](const auto& q) { return q.name == queue; })) {
      spooler.DeleteQueue(queue);
    }
  }
  // Without delete flags, which Wine accepts where it refuses DPD_DELETE_UNUSED_FILES.
  for (const char16_t* driver : drivers) {
    DeletePrinterDriverExW(nullptr, nullptr, const_cast<wchar_t*>(Wide(driver)), 0, 0);
  }
}

bool Holds(Win32PrintSpooler& spooler, const Text& queue) {
  std::vector<PrinterQueueInfo> queues;
  EXPECT_EQ(spooler.EnumQueues(queues), 0u);
  return std::any_of(queues.begin(), queues.end(), [&](const auto& q) { return q.name == queue; });
}

class Win32Spooler : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveLeftovers(spooler, {kQueue}, {kDriver});
    PX_ADD_DRIVER_OR_SKIP(kDriver);
    ASSERT_TRUE(AddQueue(kQueue, L"LPT1:", kDriver)) << GetLastError();
  }
  void TearDown() override { RemoveLeftovers(spooler, {kQueue}, {kDriver}); }
  Win32PrintSpooler spooler;
};

TEST_F(Win32Spooler, FindsMovesAndDeletesAQueueAndItsDriver) {
  PrinterQueueInfo queue;
  EXPECT_EQ(spooler.GetQueue(u"px test queue", queue), 0u);
  EXPECT_EQ(queue.name, kQueue);
  EXPECT_EQ(queue.port, u"LPT1:");
  EXPECT_EQ(queue.driver, kDriver);
  EXPECT_EQ(spooler.GetQueue(u"PX No Such Queue", queue), 1801u);
  EXPECT_TRUE(Holds(spooler, kQueue));

  EXPECT_EQ(spooler.SetQueuePort(kQueue, u"COM1:"), 0u);
  EXPECT_TRUE(spooler.PrinterExists(kQueue, u"com1:"));
  EXPECT_FALSE(spooler.PrinterExists(kQueue, u"LPT1:"));
  EXPECT_EQ(spooler.SetQueuePort(u"PX No Such Queue", u"COM1:"), 1801u);

  std::vector<PrinterDriverInfo> drivers;
  ASSERT_EQ(spooler.EnumDrivers(drivers), 0u);
  const auto driver =
      std::find_if(drivers.begin(), drivers.end(), [](const auto& d) { return d.name == kDriver; });
  ASSERT_NE(driver, drivers.end());
  // Windows names the INF in the driver store; Wine names none for a driver added by hand.
  std::printf("driver INF path: \"%s\"\n", ToUtf8(driver->inf_path).c_str());
  // Every environment is listed, each driver with its own, which its removal names.
  const Text environment = driver->environment;
  std::printf("driver environment: \"%s\"\n", ToUtf8(environment).c_str());
  EXPECT_FALSE(environment.empty());

  EXPECT_EQ(spooler.DeleteQueue(kQueue), 0u);
  EXPECT_FALSE(Holds(spooler, kQueue));
  EXPECT_EQ(spooler.DeleteQueue(u"PX No Such Queue"), 1801u);

  // The driver no queue uses any more goes, or the spooler's refusal is passed on.
  const std::uint32_t deleted = spooler.DeleteDriver(kDriver, environment);
  ASSERT_EQ(spooler.EnumDrivers(drivers), 0u);
  const bool listed =
      std::any_of(drivers.begin(), drivers.end(), [](const auto& d) { return d.name == kDriver; });
  if (deleted == ERROR_INVALID_PARAMETER) {
    std::printf("this spooler takes no DPD_DELETE_UNUSED_FILES (Wine): error 87\n");
    EXPECT_TRUE(listed);
  } else {
    EXPECT_EQ(deleted, 0u);
    EXPECT_FALSE(listed);
  }
  // No such package in the store; Wine has no DeletePrinterDriverPackage at all (127).
  const std::uint32_t package =
      spooler.DeleteDriverPackage(u"C:\\PX\\no-such-package.inf", environment);
  std::printf("DeletePrinterDriverPackage of a package not in the store: %u\n",
              static_cast<unsigned>(package));
  EXPECT_NE(package, 0u);
}

// Starts px-installer.exe with these arguments; the caller closes the handles.
PROCESS_INFORMATION StartInstaller(const std::wstring& arguments) {
  std::wstring command = L"\"" + px::testing::WindowsPathOf(PX_INSTALLER_EXE) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  return process;
}

// Waits for a started px-installer.exe to end: its exit code, or -1.
long ExitCodeOf(PROCESS_INFORMATION process) {
  DWORD code = static_cast<DWORD>(-1);
  if (process.hProcess != nullptr &&
      WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(code);
}

std::string ReadFile(const std::wstring& path) {
  std::string bytes;
  if (FILE* file = _wfopen(path.c_str(), L"rb")) {
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, file))
      bytes.append(buffer, n);
    std::fclose(file);
  }
  return bytes;
}

TEST(Win32Uninstall, QuietRemovalTakesThePackagesQueuesAndLeavesOthers) {
  Win32PrintSpooler spooler;
  const auto queues = {u"Lunor L58T", u"Kitchen", u"PX Office"};
  const auto drivers = {u"Lunor L58T", u"NY-80K", u"PX Office Driver"};
  RemoveLeftovers(spooler, queues, drivers);
  for (const char16_t* driver : drivers) {
    PX_ADD_DRIVER_OR_SKIP(driver);
  }
  ASSERT_TRUE(AddQueue(u"Lunor L58T", L"LPT1:", u"Lunor L58T"));
  ASSERT_TRUE(AddQueue(u"Kitchen", L"LPT2:", u"NY-80K"));
  ASSERT_TRUE(AddQueue(u"PX Office", L"LPT3:", u"PX Office Driver"));

  wchar_t folder[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  const std::wstring log = std::wstring(folder) + L"px-uninstall-test.log";
  DeleteFileW(log.c_str());
  const long code = ExitCodeOf(StartInstaller(L"/uninstall /quiet /log \"" + log + L"\""));
  const std::string text = ReadFile(log);
  std::printf("%s", text.c_str());  // what this spooler did, for the test's output
  EXPECT_FALSE(Holds(spooler, u"Lunor L58T"));
  EXPECT_FALSE(Holds(spooler, u"Kitchen"));
  EXPECT_TRUE(Holds(spooler, u"PX Office"));
  EXPECT_NE(text.find("\tSpooler\tDeletePrinter\tLunor L58T\t0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\tSpooler\tDeletePrinter\tKitchen\t0\n"), std::string::npos);
  EXPECT_EQ(text.find("PX Office"), std::string::npos);
  // Every driver call the spooler refused makes the exit code 6; none, 0.
  const bool refused =
      text.find("\tSpooler\tDeletePrinterDriverEx\tLunor L58T\t0\n") == std::string::npos;
  EXPECT_EQ(code, refused ? 6 : 0) << text;
  EXPECT_NE(text.find(refused ? "\tExit\t6\t" : "\tExit\t0\t"), std::string::npos);

  DeleteFileW(log.c_str());
  RemoveLeftovers(spooler, queues, drivers);
}

// The box px-installer shows next, by its title and dialog class: null after 20 s.
HWND WaitForBox() {
  for (int i = 0; i < 200; ++i) {
    if (const HWND box = FindWindowW(L"#32770", L"px-installer")) return box;
    Sleep(100);
  }
  return nullptr;
}

std::string BoxText(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);  // a message box's text is its static 0xFFFF
  return ToUtf8(FromWide(text, std::wcslen(text)));
}

// Windowed, the question lists the queue and Enter answers Yes; the closing box follows.
TEST(Win32Uninstall, WindowedRemovalAsksWithYesAsTheDefault) {
  Win32PrintSpooler spooler;
  RemoveLeftovers(spooler, {u"Lunor L58T"}, {u"Lunor L58T"});
  PX_ADD_DRIVER_OR_SKIP(u"Lunor L58T");
  ASSERT_TRUE(AddQueue(u"Lunor L58T", L"LPT1:", u"Lunor L58T"));

  const PROCESS_INFORMATION process = StartInstaller(L"/uninstall");
  const HWND question = WaitForBox();
  ASSERT_NE(question, nullptr);
  EXPECT_NE(BoxText(question).find("\nLunor L58T (LPT1:)"), std::string::npos) << BoxText(question);
  // Yes is the default button: drawn as such and holding the focus, so Enter answers Yes.
  const auto button_type = [question](int id) {
    return GetWindowLongW(GetDlgItem(question, id), GWL_STYLE) & BS_TYPEMASK;
  };
  EXPECT_EQ(button_type(IDYES), BS_DEFPUSHBUTTON);
  EXPECT_EQ(button_type(IDNO), BS_PUSHBUTTON);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(question, nullptr), &gui));
  EXPECT_EQ(gui.hwndFocus, GetDlgItem(question, IDYES));
  PostMessageW(question, WM_COMMAND, IDYES, 0);
  for (int i = 0; i < 100 && IsWindow(question); ++i) Sleep(100);
  const HWND closing = WaitForBox();
  ASSERT_NE(closing, nullptr);
  EXPECT_NE(BoxText(closing).find("\nLunor L58T (LPT1:)"), std::string::npos) << BoxText(closing);
  PostMessageW(closing, WM_COMMAND, IDOK, 0);
  EXPECT_NE(ExitCodeOf(process), -1);
  EXPECT_FALSE(Holds(spooler, u"Lunor L58T"));
  RemoveLeftovers(spooler, {u"Lunor L58T"}, {u"Lunor L58T"});
}

}  // namespace
}  // namespace px::win32
