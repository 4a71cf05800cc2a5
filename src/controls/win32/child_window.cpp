#include "controls/win32/child_window.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/common/blit.h"

namespace px::win32 {
namespace {

// The Shift argument of a mouse message: Shift and Ctrl from its flags, Alt from the keyboard.
std::int16_t ShiftState(WPARAM w) {
  std::int16_t shift = 0;
  if (w & MK_SHIFT) shift |= kShiftMask;
  if (w & MK_CONTROL) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

// The Shift argument of a key message.
std::int16_t KeyShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

// The buttons held during a mouse message.
std::int16_t HeldButtons(WPARAM w) {
  std::int16_t buttons = 0;
  if (w & MK_LBUTTON) buttons |= kLeftButton;
  if (w & MK_RBUTTON) buttons |= kRightButton;
  if (w & MK_MBUTTON) buttons |= kMiddleButton;
  return buttons;
}

// The button a press, release or double-click message is about.
std::int16_t MessageButton(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return kRightButton;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return kMiddleButton;
    default:
      return kLeftButton;
  }
}

// A child-window class that receives double-clicks; its window procedure is set per window once
// the object behind it exists. True when the class is there.
bool RegisterChildClass(HINSTANCE instance, const wchar_t* class_name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(instance, class_name, &wc)) return true;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = class_name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

void PaintRetained(HWND window, const GdiSurface& surface) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  surface.Paint(dc, paint.rcPaint);
  EndPaint(window, &paint);
}

ChildWindow::~ChildWindow() { Close(); }

bool ChildWindow::Open(HWND parent, int id, TwipRect bounds, const Kind& kind) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  if (!RegisterChildClass(instance, kind.class_name)) return false;
  const PixelRect p = ToPixels(bounds);
  window_ = CreateWindowExW(0, kind.class_name, L"", WS_CHILD | WS_VISIBLE | kind.style, p.x, p.y,
                            p.width, p.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (window_ == nullptr) return false;
  focus_on_press_ = kind.focus_on_press;
  surface_ = std::make_unique<GdiSurface>(window_);
  size_ = {bounds.width, bounds.height};
  surface_->Resize(size_);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  return true;
}

void ChildWindow::Close() {
  if (window_ == nullptr) return;
  EndAccessible();
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  surface_.reset();
  DestroyWindow(window_);
  window_ = nullptr;
}

LRESULT CALLBACK ChildWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<ChildWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w, l);
  return self->Handle(message, w, l);
}

// The control hears of a size it asks for once, from here, in twips as asked; a size that gives
// the same pixels changes no window, but the control's size did change.
void ChildWindow::Resize(TwipSize size) {
  size = {std::max(size.width, 0), std::max(size.height, 0)};
  if (size == size_) return;
  size_ = size;
  surface_->Resize(size_);
  RECT now{};
  GetClientRect(window_, &now);
  const int w = TwipsToPixels(size.width), h = TwipsToPixels(size.height);
  if (w != now.right || h != now.bottom) {
    sizing_ = true;
    SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    sizing_ = false;
  }
  if (control_ != nullptr) control_->OnResize();
}

// A size from outside (the parent moving the window) is taken in pixels.
void ChildWindow::OnSized(int width, int height) {
  if (sizing_) return;
  if (TwipsToPixels(size_.width) == width && TwipsToPixels(size_.height) == height) return;
  size_ = {PixelsToTwips(width), PixelsToTwips(height)};
  surface_->Resize(size_);
  if (control_ != nullptr) control_->OnResize();
}

// The description a control has when it is attached is what readers find first; only what
// differs from it later is news to them.
void ChildWindow::AttachControl(ControlNotifications* control) {
  control_ = control;
  reported_.reset();
  if (control_ != nullptr) reported_ = control_->Describe(UserUiLanguage());
}

void ChildWindow::ReportAccessibleChanges() {
  if (control_ == nullptr || window_ == nullptr || accessible_ended_) return;
  AccessibleDescription now = control_->Describe(UserUiLanguage());
  if (reported_) {
    for (const AccessibleChange& change : Changes(*reported_, now)) {
      const DWORD event = change.event == AccessibleEvent::kNameChange ? EVENT_OBJECT_NAMECHANGE
                                                                       : EVENT_OBJECT_STATECHANGE;
      NotifyWinEvent(event, window_, OBJID_CLIENT, change.child);
    }
  }
  reported_ = std::move(now);
}

LRESULT ChildWindow::AnswerGetObject(WPARAM w, LPARAM l) {
  // The object id comes in the low 32 bits; a 64-bit lParam may or may not carry its sign.
  if (static_cast<DWORD>(l) != static_cast<DWORD>(OBJID_CLIENT) || control_ == nullptr ||
      accessible_ended_) {
    return DefWindowProcW(window_, WM_GETOBJECT, w, l);
  }
  if (!accessible_) *accessible_.Put() = new AccessibleObject(*this);
  return LresultFromObject(__uuidof(IAccessible), w, accessible_.Get());
}

void ChildWindow::EndAccessible() {
  if (accessible_ended_) return;
  accessible_ended_ = true;
  NotifyWinEvent(EVENT_OBJECT_DESTROY, window_, OBJID_CLIENT, CHILDID_SELF);
  if (accessible_) accessible_->Disconnect();
  accessible_.Reset();
}

void ChildWindow::NotifyPropertyChanged(TextView key) {
  if (on_property_changed_) on_property_changed_(key);
}

void ChildWindow::Paint(HDC dc, const RECT& dirty) { surface_->Paint(dc, dirty); }

InputListener* ChildWindow::ElementAt(POINT at) const {
  RECT client{};
  GetClientRect(window_, &client);
  return PtInRect(&client, at) ? control_ : nullptr;
}

TwipPoint ChildWindow::OriginOf(const InputListener& /*element*/) const { return {}; }

void ChildWindow::ForgetElement(const InputListener* element) {
  if (captured_ == element) {
    captured_ = nullptr;
    click_pending_ = false;
  }
}

void ChildWindow::EndCapture() {
  captured_ = nullptr;
  click_pending_ = false;
  if (GetCapture() == window_) ReleaseCapture();
}

void ChildWindow::OnMouse(UINT message, WPARAM w, LPARAM l) {
  const POINT at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  InputListener* const under = ElementAt(at);
  InputListener* const element = captured_ != nullptr ? captured_ : under;
  if (element == nullptr) return;
  const TwipPoint origin = OriginOf(*element);
  std::int16_t shift = ShiftState(w);
  float x = static_cast<float>(PixelsToTwips(at.x) - origin.x);
  float y = static_cast<float>(PixelsToTwips(at.y) - origin.y);
  switch (message) {
    case WM_MOUSEMOVE: {
      std::int16_t held = HeldButtons(w);
      element->OnMouseMove(held, shift, x, y);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      const bool double_click =
          message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
      if (focus_on_press_ && !double_click && GetFocus() != window_) SetFocus(window_);
      if (captured_ == nullptr) {
        captured_ = element;
        SetCapture(window_);
      }
      // The double-click stands for this press's click.
      click_pending_ = !double_click;
      if (double_click) {
        element->OnDblClick();
      } else {
        std::int16_t button = MessageButton(message);
        element->OnMouseDown(button, shift, x, y);
      }
      return;
    }
    default: {  // a release
      std::int16_t button = MessageButton(message);
      element->OnMouseUp(button, shift, x, y);
      if (HeldButtons(w) != 0) return;  // the mouse stays with the element until the last release
      const bool click = click_pending_ && under == element;
      EndCapture();
      if (click) element->OnClick();
      return;
    }
  }
}

void ChildWindow::OnKey(UINT message, WPARAM w) {
  if (control_ == nullptr) return;
  auto key = static_cast<std::int16_t>(w);
  if (message == WM_CHAR || message == WM_SYSCHAR) {
    control_->OnKeyPress(key);
    return;
  }
  std::int16_t shift = KeyShiftState();
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
    control_->OnKeyDown(key, shift);
  } else {
    control_->OnKeyUp(key, shift);
  }
}

LRESULT ChildWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_SIZE:
      OnSized(LOWORD(l), HIWORD(l));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      Paint(dc, paint.rcPaint);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the retained image covers everything
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      OnMouse(message, w, l);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(l) != window_) {
        captured_ = nullptr;
        click_pending_ = false;
      }
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      OnKey(message, w);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      OnKey(message, w);
      return DefWindowProcW(window_, message, w, l);
    case WM_SETFOCUS:
      if (control_ != nullptr) control_->OnGotFocus();
      NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, CHILDID_SELF);
      return 0;
    case WM_KILLFOCUS:
      if (control_ != nullptr) control_->OnLostFocus();
      return 0;
    case WM_SHOWWINDOW:
      if (w && control_ != nullptr) control_->OnShow();
      return 0;
    case WM_GETOBJECT:
      return AnswerGetObject(w, l);
    case WM_DESTROY:  // destroyed with its parent, before Close
      EndAccessible();
      return DefWindowProcW(window_, message, w, l);
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

}  // namespace px::win32
