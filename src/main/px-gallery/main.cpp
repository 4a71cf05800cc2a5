// px-gallery.exe: the frame control at work in a borderless window of its own.
//   px-gallery.exe                      shows the window until it is closed
//   px-gallery.exe --screenshot FILE    shows it, writes what the screen shows of it as a BMP
//                                       file, and ends (exit code 0 when the file was written)
#include "gallery_window.h"

#include <shellapi.h>

#include <string>

namespace {

constexpr UINT_PTR kScreenshotTimer = 1;

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring screenshot;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"--screenshot") screenshot = argv[i + 1];
  }
  LocalFree(argv);

  auto gallery = px::gallery::GalleryWindow::Create(instance, {4500, 3000});
  if (gallery == nullptr) {
    MessageBoxW(nullptr, L"The window cannot be made.", L"px-gallery", MB_OK | MB_ICONERROR);
    return 1;
  }
  gallery->QuitOnClose();
  ShowWindow(gallery->hwnd(), screenshot.empty() ? show_command : SW_SHOWNORMAL);
  UpdateWindow(gallery->hwnd());
  if (screenshot.empty()) return RunMessageLoop();

  // Give the window manager a moment to map and paint the window, then look at the screen.
  SetForegroundWindow(gallery->hwnd());
  int written = 1;
  SetTimer(nullptr, kScreenshotTimer, 1500, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) {
      const px::PictureRef picture = px::gallery::CaptureScreen(gallery->hwnd());
      written = picture != nullptr && px::gallery::WriteBmp(*picture, screenshot) ? 0 : 1;
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return written;
}
