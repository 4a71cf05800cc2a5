// A helper of the Wine screenshot test: finds a top-level window by its caption.
//   win32_window_probe wait CAPTION SECONDS  prints the client area in screen pixels, "x y w h",
//                                            once the window is visible (exit 1 on timeout)
//   win32_window_probe close CAPTION         asks the window to close, as its close button does
//   win32_window_probe texts CAPTION         prints the texts of the window's static controls in
//                                            the order of their ids, one a line, in UTF-8
//   win32_window_probe squat NAME SECONDS    makes a mutex of that name first, with a DACL that
//                                            grants nobody anything, and holds it, as a
//                                            standard user could

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "base/win32/windows_api.h"

#include <sddl.h>

namespace {

HWND FindVisible(const wchar_t* caption) {
  const HWND window = FindWindowW(nullptr, caption);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

int Wait(const wchar_t* caption, int seconds) {
  const DWORD start = GetTickCount();
  HWND window = nullptr;
  while ((window = FindVisible(caption)) == nullptr) {
    if (GetTickCount() - start > static_cast<DWORD>(seconds) * 1000) {
      std::fprintf(stderr, "no visible window with that caption after %d s\n", seconds);
      return 1;
    }
    Sleep(100);
  }
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
  return 0;
}

int Close(const wchar_t* caption) {
  const HWND window = FindWindowW(nullptr, caption);
  if (window == nullptr) {
    std::fprintf(stderr, "no window with that caption\n");
    return 1;
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM found) {
  wchar_t class_name[16];
  if (GetClassNameW(child, class_name, 16) > 0 && _wcsicmp(class_name, L"Static") == 0) {
    reinterpret_cast<std::vector<std::pair<int, HWND>>*>(found)->emplace_back(GetDlgCtrlID(child),
                                                                              child);
  }
  return TRUE;
}

// The text as the control itself answers WM_GETTEXT (sent across processes, the system copies
// it); a window that does not answer within a second makes it an error.
bool ControlText(HWND control, std::wstring& text) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length)) {
    return false;
  }
  text.assign(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 1000, &copied)) {
    return false;
  }
  text.resize(std::min<std::size_t>(copied, length));
  return true;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

int Texts(const wchar_t* caption) {
  const HWND window = FindWindowW(nullptr, caption);
  if (window == nullptr) {
    std::fprintf(stderr, "no window with that caption\n");
    return 1;
  }
  std::vector<std::pair<int, HWND>> controls;
  EnumChildWindows(window, &CollectStatic, reinterpret_cast<LPARAM>(&controls));
  std::sort(controls.begin(), controls.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  // Bytes as they are: no code page, no carriage returns.
  _setmode(_fileno(stdout), _O_BINARY);
  for (const auto& [id, control] : controls) {
    std::wstring text;
    if (!ControlText(control, text)) {
      std::fprintf(stderr, "the static control %d did not answer WM_GETTEXT\n", id);
      return 1;
    }
    const std::string line = Utf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return 0;
}

int Squat(const wchar_t* name, int seconds) {
  PSECURITY_DESCRIPTOR nobody = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:", SDDL_REVISION_1, &nobody,
                                                            nullptr)) {
    return 1;
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nobody, FALSE};
  const HANDLE mutex = CreateMutexW(&attributes, TRUE, name);
  LocalFree(nobody);
  if (mutex == nullptr) {
    std::fprintf(stderr, "the mutex cannot be made: %lu\n", GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  CloseHandle(mutex);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wcscmp(argv[1], L"wait") == 0) return Wait(argv[2], _wtoi(argv[3]));
  if (argc >= 3 && std::wcscmp(argv[1], L"close") == 0) return Close(argv[2]);
  if (argc >= 3 && std::wcscmp(argv[1], L"texts") == 0) return Texts(argv[2]);
  if (argc >= 4 && std::wcscmp(argv[1], L"squat") == 0) return Squat(argv[2], _wtoi(argv[3]));
  std::fprintf(stderr,
               "usage: win32_window_probe wait CAPTION SECONDS | close CAPTION | texts CAPTION | "
               "squat NAME SECONDS\n");
  return 2;
}
