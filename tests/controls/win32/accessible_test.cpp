// The controls for screen readers, read through oleacc as a reader reads them: px-gallery.exe's
// controls from another process, the default actions, the events a reader hears, and an object
// that outlives its window.
#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "base/win32/com_ptr.h"
#include "controls/win32/button_control.h"
#include "gallery/button_strips.h"
#include "gallery_screenshot.h"
#include "parent_window.h"

namespace px::win32 {
namespace {

bool Chinese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE; }

using px::testing::Pump;

VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

ComPtr<IAccessible> FromWindow(HWND window) {
  ComPtr<IAccessible> accessible;
  EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), accessible.PutVoid()),
            S_OK);
  return accessible;
}

// One element as a reader gets it; -1 for a role or state that could not be read.
struct Element {
  LONG role = -1;
  std::wstring name;
  LONG state = -1;
  std::wstring action;
};

std::wstring TakeBstr(BSTR s) {
  std::wstring text = s != nullptr ? std::wstring(s, SysStringLen(s)) : L"";
  SysFreeString(s);
  return text;
}

Element Read(IAccessible& accessible, LONG child) {
  Element e;
  UniqueVariant role, state;
  if (accessible.get_accRole(Child(child), role.Get()) == S_OK) e.role = role.Get()->lVal;
  if (accessible.get_accState(Child(child), state.Get()) == S_OK) e.state = state.Get()->lVal;
  BSTR name = nullptr, action = nullptr;
  accessible.get_accName(Child(child), &name);
  e.name = TakeBstr(name);
  accessible.get_accDefaultAction(Child(child), &action);
  e.action = TakeBstr(action);
  return e;
}

// The states that depend on where the pointer and the focus happen to be.
constexpr LONG kWhereverThePointerIs = STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED;

// px-gallery.exe as a program of its own, closed at the end if it is still running.
class GalleryProcess {
 public:
  ~GalleryProcess() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  // The gallery's window once it shows, or nullptr.
  HWND Start() {
    std::wstring command = L"\"" + testing::GalleryExe() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
      return nullptr;
    }
    for (int i = 0; i < 200; ++i) {
      HWND window = FindWindowW(L"PxGallery", L"px-gallery");
      if (window != nullptr && IsWindowVisible(window)) return window;
      Sleep(50);
    }
    return nullptr;
  }
  // The exit code once the program ended within the time, else -1.
  long WaitForExit(DWORD ms) {
    if (WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION process_{};
};

TEST(AccessibleTest, PxGalleryIsReadAndPressedFromAnotherProcess) {
  ComApartment com;
  ASSERT_TRUE(SUCCEEDED(com.result()));
  GalleryProcess gallery;
  const HWND window = gallery.Start();
  ASSERT_NE(window, nullptr) << "px-gallery.exe did not show its window";
  const bool zh = Chinese();
  const std::wstring press = zh ? L"按下" : L"Press";

  ComPtr<IAccessible> bar = FromWindow(GetDlgItem(window, 1));
  ASSERT_TRUE(bar);
  const Element title = Read(*bar.Get(), CHILDID_SELF);
  EXPECT_EQ(title.role, ROLE_SYSTEM_TITLEBAR);
  EXPECT_EQ(title.name, L"px-gallery");
  EXPECT_EQ(title.state, 0);
  LONG parts = 0;
  EXPECT_EQ(bar->get_accChildCount(&parts), S_OK);
  EXPECT_EQ(parts, 2);
  ComPtr<IDispatch> parent;  // the bar's window, as for every window's client area
  EXPECT_EQ(bar->get_accParent(parent.Put()), S_OK);
  EXPECT_TRUE(parent);
  const struct {
    LONG child;
    std::wstring name;
  } bar_parts[] = {{1, zh ? L"最小化" : L"Minimize"}, {2, zh ? L"退出" : L"Close"}};
  for (const auto& part : bar_parts) {
    const Element e = Read(*bar.Get(), part.child);
    EXPECT_EQ(e.role, ROLE_SYSTEM_PUSHBUTTON) << part.child;
    EXPECT_EQ(e.name, part.name);
    EXPECT_EQ(e.state & ~kWhereverThePointerIs, 0) << part.child;
    EXPECT_EQ(e.action, press);
  }
  // The close button is found at its centre, and after the minimise button.
  LONG x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(bar->accLocation(&x, &y, &w, &h, Child(2)), S_OK);
  EXPECT_EQ(w, 21);
  EXPECT_EQ(h, 21);
  UniqueVariant hit, next;
  ASSERT_EQ(bar->accHitTest(x + w / 2, y + h / 2, hit.Get()), S_OK);
  EXPECT_EQ(hit.Get()->vt, VT_I4);
  EXPECT_EQ(hit.Get()->lVal, 2);
  ASSERT_EQ(bar->accNavigate(NAVDIR_NEXT, Child(1), next.Get()), S_OK);
  EXPECT_EQ(next.Get()->lVal, 2);

  const struct {
    int id;
    LONG role;
    const wchar_t* name;
    LONG state;
    std::wstring action;
  } buttons[] = {
      {2, ROLE_SYSTEM_PUSHBUTTON, L"Push", STATE_SYSTEM_FOCUSABLE, press},
      {3, ROLE_SYSTEM_CHECKBUTTON, L"On", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED,
       zh ? L"取消选中" : L"Uncheck"},
  };
  for (const auto& b : buttons) {
    ComPtr<IAccessible> button = FromWindow(GetDlgItem(window, b.id));
    ASSERT_TRUE(button);
    const Element e = Read(*button.Get(), CHILDID_SELF);
    EXPECT_EQ(e.role, b.role) << b.name;
    EXPECT_EQ(e.name, b.name);
    EXPECT_EQ(e.state & ~kWhereverThePointerIs, b.state) << b.name;
    EXPECT_EQ(e.action, b.action) << b.name;
  }

  // Pressing the toggle from here turns it off.
  ComPtr<IAccessible> toggle = FromWindow(GetDlgItem(window, 3));
  ASSERT_EQ(toggle->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  const Element off = Read(*toggle.Get(), CHILDID_SELF);
  EXPECT_EQ(off.state & STATE_SYSTEM_CHECKED, 0);
  EXPECT_EQ(off.action, zh ? L"选中" : L"Check");

  // The bar's buttons do what their clicks do: minimise, then close the program.
  ASSERT_EQ(bar->accDoDefaultAction(Child(1)), S_OK);
  for (int i = 0; i < 100 && !IsIconic(window); ++i) Sleep(20);
  EXPECT_TRUE(IsIconic(window));
  ASSERT_EQ(bar->accDoDefaultAction(Child(2)), S_OK);
  EXPECT_EQ(gallery.WaitForExit(10000), 0);
  // The program is gone; its objects say so instead of failing in any other way.
  UniqueVariant role;
  EXPECT_NE(bar->get_accRole(Child(CHILDID_SELF), role.Get()), S_OK);
}

// Events a reader hears from this process's controls, as "event child" per control window.
class Heard final : public iButtonEvents {
 public:
  std::vector<std::string> lines;
  void Click() override { lines.push_back("Click"); }
  void MouseDown(std::int16_t& b, std::int16_t&, float&, float&) override {
    lines.push_back("MouseDown " + std::to_string(b));
  }
  void MouseUp(std::int16_t& b, std::int16_t&, float&, float&) override {
    lines.push_back("MouseUp " + std::to_string(b));
  }
};

struct WinEvent {
  DWORD event;
  LONG child;
  friend bool operator==(const WinEvent&, const WinEvent&) = default;
};
HWND g_watched = nullptr;
std::vector<WinEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                         DWORD) {
  if (window == g_watched && object == OBJID_CLIENT) g_events.push_back({event, child});
}

// A plain top-level window with one image button in it, a push button or a toggle.
class AccessibleButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = testing::MakeParentWindow(L"PxAccessibleTestParent", WS_POPUP | WS_VISIBLE);
    ASSERT_NE(parent_, nullptr);
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    control_.reset();
    DestroyWindow(parent_);
  }
  void Make(std::int32_t style) {
    MemoryPropertyStore settings;
    settings.Set(u"BackPicture", style == 0 ? DrawPushStrip() : DrawToggleStrip());
    settings.Set(u"Style", style);
    settings.Set(u"Caption", Text(u"OK"));
    ControlStatus loaded;
    control_ = ButtonControl::Create(parent_, 5, {300, 300, 1200, 450}, heard_, settings, &loaded);
    ASSERT_NE(control_, nullptr);
    ASSERT_TRUE(loaded);
    Pump(20);
  }

  HWND parent_ = nullptr;
  Heard heard_;
  std::unique_ptr<ButtonControl> control_;
};

TEST_F(AccessibleButtonTest, TheDefaultActionClicksAsTheLeftButtonDoes) {
  Make(0);
  ComPtr<IAccessible> push = FromWindow(control_->hwnd());
  ASSERT_TRUE(push);
  ASSERT_EQ(push->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  EXPECT_EQ(heard_.lines, (std::vector<std::string>{"MouseDown 1", "MouseUp 1", "Click"}));
  EXPECT_EQ(control_->button().State(), Normal);  // the pointer is elsewhere

  Make(1);
  ComPtr<IAccessible> toggle = FromWindow(control_->hwnd());
  ASSERT_EQ(toggle->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  EXPECT_TRUE(control_->button().Value());
  EXPECT_NE(Read(*toggle.Get(), CHILDID_SELF).state & STATE_SYSTEM_CHECKED, 0);

  // Disabled, the button has no default action and is not focusable.
  heard_.lines.clear();
  ASSERT_TRUE(control_->button().SetEnabled(false));
  EXPECT_EQ(toggle->accDoDefaultAction(Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
  const Element disabled = Read(*toggle.Get(), CHILDID_SELF);
  EXPECT_EQ(disabled.state, STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_CHECKED);
  EXPECT_EQ(disabled.action, L"");
  EXPECT_TRUE(heard_.lines.empty());
  EXPECT_EQ(toggle->accDoDefaultAction(Child(1)), E_INVALIDARG);  // a button has no parts
  EXPECT_EQ(toggle->accSelect(SELFLAG_TAKEFOCUS, Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
}

TEST_F(AccessibleButtonTest, AReaderHearsFocusStateAndNameChangesAndTheEnd) {
  Make(1);
  g_watched = control_->hwnd();
  g_events.clear();
  // In context, so that the end is heard too: an event queued for a hook out of context is
  // dropped by Wine once its window is gone.
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_NAMECHANGE, GetModuleHandleW(nullptr),
                      &OnWinEvent, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
  ASSERT_NE(hook, nullptr);
  ComPtr<IAccessible> accessible = FromWindow(control_->hwnd());
  ASSERT_EQ(accessible->accSelect(SELFLAG_TAKEFOCUS, Child(CHILDID_SELF)), S_OK);
  EXPECT_EQ(GetFocus(), control_->hwnd());
  Pump(20);
  ASSERT_TRUE(control_->button().SetValue(true));
  Pump(20);
  ASSERT_TRUE(control_->button().SetEnabled(false));
  Pump(20);
  ASSERT_TRUE(control_->button().SetCaption(u"Sound"));
  control_->button().SetAccessibleName(u"Sound on");
  control_->button().SetAccessibleName(u"Sound on");  // no news the second time
  Pump(20);
  control_.reset();
  Pump(20);
  UnhookWinEvent(hook);
  std::vector<WinEvent> heard;
  for (const WinEvent& e : g_events) {
    // The focus may be told twice, by the system and by the control.
    if (heard.empty() || !(e == heard.back() && e.event == EVENT_OBJECT_FOCUS)) heard.push_back(e);
  }
  EXPECT_EQ(heard, (std::vector<WinEvent>{{EVENT_OBJECT_FOCUS, CHILDID_SELF},
                                          {EVENT_OBJECT_STATECHANGE, CHILDID_SELF},
                                          {EVENT_OBJECT_STATECHANGE, CHILDID_SELF},
                                          {EVENT_OBJECT_NAMECHANGE, CHILDID_SELF},
                                          {EVENT_OBJECT_NAMECHANGE, CHILDID_SELF},
                                          {EVENT_OBJECT_DESTROY, CHILDID_SELF}}));
}

// Whether the control goes first or its parent window takes it along, an object a reader still
// holds answers RPC_E_DISCONNECTED, and the reader's reference is the last one.
TEST_F(AccessibleButtonTest, AnObjectThatOutlivesItsWindowAnswersDisconnected) {
  for (const bool parent_first : {false, true}) {
    SCOPED_TRACE(parent_first ? "parent destroyed" : "control destroyed");
    Make(0);
    IAccessible* accessible = nullptr;
    ASSERT_EQ(
        AccessibleObjectFromWindow(control_->hwnd(), static_cast<DWORD>(OBJID_CLIENT),
                                   __uuidof(IAccessible), reinterpret_cast<void**>(&accessible)),
        S_OK);
    if (parent_first) DestroyWindow(parent_);
    control_.reset();
    Pump(20);
    BSTR name = nullptr;
    EXPECT_EQ(accessible->get_accName(Child(CHILDID_SELF), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
    UniqueVariant state;
    EXPECT_EQ(accessible->get_accState(Child(CHILDID_SELF), state.Get()), RPC_E_DISCONNECTED);
    EXPECT_EQ(accessible->accDoDefaultAction(Child(CHILDID_SELF)), RPC_E_DISCONNECTED);
    EXPECT_TRUE(heard_.lines.empty());
    EXPECT_EQ(accessible->Release(), 0u);
  }
}

}  // namespace
}  // namespace px::win32
