#include "platform/win32/form_window.h"

#include <algorithm>
#include <string_view>

#include "platform/win32/dpi.h"
#include "platform/win32/form_layout.h"
#include "platform/win32/system_error_win32.h"

namespace px::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"PxInstallerForm1";
constexpr COLORREF kLabelColour = RGB(0, 255, 255);
constexpr int kFirstLabelId = 100;  // Label2; Label1(i) is kFirstLabelId + 1 + i
// The face as Chinese Windows names it; its English name is Microsoft YaHei.
constexpr wchar_t kLabelFace[] = L"微软雅黑";

Text WindowText(HWND window) {
  if (window == nullptr) return {};
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  return FromWide(text.data(), static_cast<std::size_t>(std::max(copied, 0)));
}

RECT PixelsOf(const TwipsRect& twips, UINT dpi) {
  const int d = static_cast<int>(dpi);
  const int left = TwipsToPixels(twips.left, d);
  const int top = TwipsToPixels(twips.top, d);
  return RECT{left, top, left + TwipsToPixels(twips.width, d),
              top + TwipsToPixels(twips.height, d)};
}

HFONT CreateLabelFont(UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -LabelFontPixels(static_cast<int>(dpi));
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::wstring_view(kLabelFace).copy(font.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

Status RegisterWindowClass(const FormWindow::Options& options, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = options.instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = kWindowClass;
  if (options.icon_resource != 0) {
    window_class.hIcon = LoadIconW(options.instance, MAKEINTRESOURCEW(options.icon_resource));
  }
  if (RegisterClassExW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return LastError(L"RegisterClassExW");
  }
  return Ok();
}

}  // namespace

FormWindow::FormWindow(const Options& options) : options_(options) {}

FormWindow::~FormWindow() {
  // Destroyed by its owner, not closed by the user: the message loop is not told to end.
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  window_.reset();
}

Expected<std::unique_ptr<FormWindow>> FormWindow::Create(const Options& options) {
  std::unique_ptr<FormWindow> form(new FormWindow(options));
  if (Status registered = RegisterWindowClass(options, &FormWindow::WindowProc); !registered) {
    return registered.error();
  }
  // Created on the primary monitor, so that it starts with that monitor's DPI.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const HWND window =
      CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, monitor.rcWork.left, monitor.rcWork.top,
                      0, 0, nullptr, nullptr, options.instance, form.get());
  if (window == nullptr) return LastError(L"CreateWindowExW");
  if (Status controls = form->CreateControls(); !controls) return controls.error();
  form->ApplyDpi(WindowDpi(window), POINT{monitor.rcWork.left, monitor.rcWork.top});
  form->CentreOnPrimaryMonitor();
  return form;
}

Status FormWindow::CreateControls() {
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    // One line, clipped where it does not fit; "&" is shown as it is (device paths hold it).
    labels_[i] = CreateWindowExW(
        0, L"STATIC", L"Label1", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 0, 0,
        0, window_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstLabelId + i)),
        options_.instance, nullptr);
    if (labels_[i] == nullptr) return LastError(L"CreateWindowExW STATIC");
  }
  return Ok();
}

SIZE FormWindow::WindowSize(UINT dpi) const {
  const SIZE client{TwipsToPixels(kClientWidthTwips, static_cast<int>(dpi)),
                    TwipsToPixels(kClientHeightTwips, static_cast<int>(dpi))};
  return WindowSizeForClient(client, kStyle, kExStyle, dpi);
}

void FormWindow::ApplyDpi(UINT dpi, POINT top_left) {
  dpi_ = dpi;
  UniqueGdiObject font(CreateLabelFont(dpi));
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    const RECT r = PixelsOf(i == 0 ? kLabel2Twips : Label1Twips(static_cast<int>(i) - 1), dpi);
    SetWindowPos(labels_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (font) SendMessageW(labels_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  }
  // The labels hold the new font now; the old one may go.
  if (font) font_ = std::move(font);
  const SIZE size = WindowSize(dpi);
  SetWindowPos(window_.get(), nullptr, top_left.x, top_left.y, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_.get(), nullptr, TRUE);
}

void FormWindow::CentreOnPrimaryMonitor() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const SIZE size = WindowSize(dpi_);
  const int x = work.left + std::max(0L, (work.right - work.left - size.cx) / 2);
  const int y = work.top + std::max(0L, (work.bottom - work.top - size.cy) / 2);
  SetWindowPos(window_.get(), nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void FormWindow::Show(int show_command) {
  if (!window_) return;
  ShowWindow(window_.get(), show_command);
  UpdateWindow(window_.get());
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    form->window_.reset(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, w, l);
  return form->HandleMessage(message, w, l);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  const HWND window = window_.get();
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      // Transparent labels: no background of their own, the window's black shows through.
      const auto dc = reinterpret_cast<HDC>(w);
      SetTextColor(dc, kLabelColour);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    }
    case WM_GETDPISCALEDSIZE:
      // Windows asks for the size at the new DPI before it moves the window there.
      *reinterpret_cast<SIZE*>(l) = WindowSize(LOWORD(w));
      return TRUE;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(l);
      ApplyDpi(LOWORD(w), POINT{suggested->left, suggested->top});
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(exit_code_);
      return 0;
    case WM_NCDESTROY:
      labels_.fill(nullptr);
      window_.release();
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, w, l);
    default:
      return DefWindowProcW(window, message, w, l);
  }
}

HWND FormWindow::label1_window(int index) const {
  if (index < 0 || index >= kLabel1Count) return nullptr;
  return labels_[static_cast<std::size_t>(index) + 1];
}

void FormWindow::SetCaption(const Text& text) {
  if (window_) SetWindowTextW(window_.get(), Wide(text));
}

Text FormWindow::Caption() const { return WindowText(window_.get()); }

void FormWindow::SetLabel2(const Text& text) {
  if (labels_[0] != nullptr) SetWindowTextW(labels_[0], Wide(text));
}

void FormWindow::SetLabel1(int index, const Text& text) {
  if (const HWND label = label1_window(index); label != nullptr) SetWindowTextW(label, Wide(text));
}

Text FormWindow::Label1(int index) const { return WindowText(label1_window(index)); }

void FormWindow::Refresh() {
  if (!window_) return;
  RedrawWindow(window_.get(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void FormWindow::ShowMessage(const Text& text) {
  // A window the user has closed shows nothing more: the program is ending.
  if (!window_) return;
  MessageBoxW(window_.get(), Wide(text), Wide(options_.title), MB_OK);
}

void FormWindow::Unload() { End(0); }

void FormWindow::ShowErrorAndEnd(const SystemError& error) {
  if (!window_) return;
  MessageBoxW(window_.get(), Wide(error.text), Wide(options_.title), MB_OK | MB_ICONERROR);
  End(1);
}

void FormWindow::End(int exit_code) {
  if (!window_) return;
  exit_code_ = exit_code;
  DestroyWindow(window_.get());
}

}  // namespace px::win32
