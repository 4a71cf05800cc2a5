// The smallest program on the installed control kit: a borderless window with a BForm as its
// title bar and an iButton below it. The frame's close glyph and the button both close it.
#include <px/bform.h>
#include <px/ibutton.h>

#include <memory>

namespace {

// The button's handlers: a click closes the window that hosts the button.
class CloseOnClick final : public px::iButtonEvents {
 public:
  explicit CloseOnClick(HWND window) : window_(window) {}
  void Click() override { PostMessageW(window_, WM_CLOSE, 0, 0); }

 private:
  HWND window_;
};

// The host's surface: the frame draws the window's border on it.
std::unique_ptr<px::win32::HostWindowSurface> host;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  LRESULT result = 0;
  if (host != nullptr && host->HandleMessage(message, w, l, &result)) return result;
  if (message == WM_NOTIFY &&
      reinterpret_cast<const NMHDR*>(l)->code == px::win32::kBFormCloseClick) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
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
  host = std::make_unique<px::win32::HostWindowSurface>(window);

  // Bounds are in twips (15 to a pixel at 96 dpi). The frame runs along the top of the window.
  auto bar = px::win32::BFormControl::Create(window, 1, {0, 0, 4500, px::BForm::kHeight},
                                             px::DrawFrameSkin());
  CloseOnClick events(window);
  auto button = px::win32::ButtonControl::Create(window, 2, {300, 900, 1200, 450}, events);
  if (bar == nullptr || button == nullptr) return 1;
  bar->frame().SetCaption(u"kit-host");
  (void)button->button().SetCaption(u"Close");

  ShowWindow(window, show_command);
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
