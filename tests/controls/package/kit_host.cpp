// The smallest program on the installed control kit: a borderless window with a BForm as its
// title bar and an iButton below it. The frame's close glyph and the button both close it.
//   kit-host.exe           shows the window until it is closed
//   kit-host.exe --press   presses its own button once: the window closes only if the click
//                          reaches the program's handler
#include <px/bform.h>
#include <px/ibutton.h>

#include <memory>
#include <string_view>

namespace {

// The button's handlers: a click closes the window that hosts the button.
class CloseOnClick final : public px::kit::iButtonEvents {
 public:
  explicit CloseOnClick(HWND window) : window_(window) {}
  void Click() override { PostMessageW(window_, WM_CLOSE, 0, 0); }

 private:
  HWND window_;
};

// The host's surface: the frame draws the window's border on it.
std::unique_ptr<px::kit::HostSurface> host;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  LRESULT result = 0;
  if (host != nullptr && host->HandleMessage(message, w, l, &result)) return result;
  if (message == WM_NOTIFY &&
      reinterpret_cast<const NMHDR*>(l)->code == px::kit::kBFormCloseClick) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show_command) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"KitHost";
  if (RegisterClassExW(&wc) == 0) return 1;
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, L"KitHost", L"kit-host",
                                WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN, 100, 100, 300, 150,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  host = std::make_unique<px::kit::HostSurface>(window);

  // Bounds are in twips (15 to a pixel at 96 dpi). The frame runs along the top of the window.
  auto bar = px::kit::BForm::Create(window, 1, {0, 0, 4500, px::kit::BForm::kHeight});
  CloseOnClick events(window);
  auto button = px::kit::iButton::Create(window, 2, {300, 900, 1200, 450}, events);
  if (bar == nullptr || button == nullptr) return 1;
  bar->SetCaption(u"kit-host");
  (void)button->SetCaption(u"Close");

  ShowWindow(window, show_command);
  if (std::wstring_view(command_line) == L"--press") {
    PostMessageW(button->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(button->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  button.reset();
  bar.reset();
  host.reset();
  return 0;
}
