#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "base/win32/com_ptr.h"
#include "base/win32/windows_api.h"
#include "controls/common/control_site.h"
#include "controls/win32/accessible_object.h"
#include "controls/win32/gdi_surface.h"

namespace px::win32 {

// A control's own child window, the part every control's window shares: its window class and
// procedure, its size in twips, its retained surface that WM_PAINT copies to the screen, the
// mouse from a press to the last release, and the key and focus messages, all turned into the
// control's notifications. The frame's site window and the button's window add what differs.
//
// Mouse input goes to an element: a windowless child of the control or the control itself
// (ElementAt). The element that takes a press keeps the mouse (capture) until the last button is
// released; a click follows that release when it is over the same element; a double-click
// replaces the second press. The window class has CS_DBLCLKS, so the second press of a double
// click arrives as a double-click message. A disabled window gets no input from Windows at all.
//
// Keys: WM_KEYDOWN, WM_KEYUP and WM_CHAR, and their system forms (Alt held, or F10), become
// key-down, key-up and key-press. The system forms go on to DefWindowProc afterwards, so that
// Alt+F4, Alt+Space and the menu keys still reach the top-level window while a control has the
// focus, as they do over any other window.
//
// Screen readers: the window answers WM_GETOBJECT for its client area with an AccessibleObject
// over the control's description, and tells readers what changes (NotifyWinEvent): the focus
// when the window gets it, a name or state change when the control reports one that differs
// from what readers were last told, and the object's end when the window goes.
class ChildWindow {
 public:
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;

  HWND hwnd() const { return window_; }
  // The control the window is the site of (nullptr while none is attached).
  ControlNotifications* control() const { return control_; }
  GdiSurface& gdi_surface() { return *surface_; }
  const GdiSurface& gdi_surface() const { return *surface_; }
  // Called with the key of every property-changed notice.
  void OnPropertyChanged(std::function<void(TextView)> handler) {
    on_property_changed_ = std::move(handler);
  }

 protected:
  struct Kind {
    const wchar_t* class_name;
    DWORD style;  // beside WS_CHILD | WS_VISIBLE
    bool focus_on_press;
  };
  ChildWindow() = default;
  virtual ~ChildWindow();

  // Makes the window, a child of parent at bounds (twips, in the parent's client area); false
  // when Windows refuses it. The window is destroyed by Close or with this object.
  bool Open(HWND parent, int id, TwipRect bounds, const Kind& kind);
  // Ends the messages to this object and destroys the window; a derived class calls it first in
  // its destructor, before its own parts go.
  void Close();

  // What ControlSite asks of every control window.
  void AttachControl(ControlNotifications* control);
  TwipSize size() const { return size_; }
  void Resize(TwipSize size);
  void NotifyPropertyChanged(TextView key);
  bool IsShown() const { return IsWindowVisible(window_) != FALSE; }
  // Tells readers how the control's description differs from what they were told last.
  void ReportAccessibleChanges();

  // The message handling: the shared messages here, the rest to DefWindowProc. A derived class
  // handles its own messages first and passes the others on.
  virtual LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  // Paints the dirty part of the client area: the retained image by default.
  virtual void Paint(HDC dc, const RECT& dirty);
  // The element under a pixel of the client area: the control by default; nullptr outside the
  // client area (and while no control is attached).
  virtual InputListener* ElementAt(POINT at) const;
  // An element's top-left in the control, in twips: where its mouse coordinates start.
  virtual TwipPoint OriginOf(const InputListener& element) const;
  // An element that goes away: it loses the mouse if it holds it.
  void ForgetElement(const InputListener* element);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  void OnSized(int width, int height);
  void OnMouse(UINT message, WPARAM w, LPARAM l);
  void OnKey(UINT message, WPARAM w);
  void EndCapture();
  LRESULT AnswerGetObject(WPARAM w, LPARAM l);
  // The window goes: readers are told, and its accessible object is cut off.
  void EndAccessible();

  HWND window_ = nullptr;
  std::unique_ptr<GdiSurface> surface_;
  TwipSize size_;
  ControlNotifications* control_ = nullptr;
  std::function<void(TextView)> on_property_changed_;
  bool focus_on_press_ = false;
  bool sizing_ = false;
  // The element holding the mouse while a button is down, and whether its release clicks.
  InputListener* captured_ = nullptr;
  bool click_pending_ = false;
  // Made at a reader's first request; the description readers were last told of.
  ComPtr<AccessibleObject> accessible_;
  std::optional<AccessibleDescription> reported_;
  bool accessible_ended_ = false;
};

// A child window that is the site of a control: the ControlSite calls of every control window,
// answered by the child window, over the site interface the control needs.
template <class Site>
class ChildSite : public Site, public ChildWindow {
 public:
  void Attach(ControlNotifications* control) override { AttachControl(control); }
  Surface& GetSurface() override { return gdi_surface(); }
  TwipSize Size() const override { return size(); }
  void SetSize(TwipSize size) override { Resize(size); }
  void PropertyChanged(TextView key) override { NotifyPropertyChanged(key); }
  bool Visible() const override { return IsShown(); }
  void AccessibleChanged() override { ReportAccessibleChanges(); }
};

// Copies the dirty part of a retained image to the window in answer to WM_PAINT.
void PaintRetained(HWND window, const GdiSurface& surface);

}  // namespace px::win32
