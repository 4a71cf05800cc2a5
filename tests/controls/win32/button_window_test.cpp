// iButton as a Windows child control: frames cut by GDI into OLE pictures, the shape mask as a
// window region, and real window messages in, events out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/win32/button_control.h"
#include "gallery/button_strips.h"
#include "parent_window.h"

namespace px::win32 {
namespace {

using px::testing::Pump;

class Heard final : public iButtonEvents {
 public:
  std::vector<std::string> lines;
  int Count(const std::string& s) const {
    return static_cast<int>(std::count(lines.begin(), lines.end(), s));
  }
  void Click() override { lines.push_back("Click"); }
  void MouseDown(std::int16_t& b, std::int16_t&, float&, float&) override {
    lines.push_back("MouseDown " + std::to_string(b));
  }
  void KeyDown(std::int16_t& k, std::int16_t& shift) override {
    lines.push_back("KeyDown " + std::to_string(k) + " " + std::to_string(shift));
  }
  void KeyUP(std::int16_t& k, std::int16_t& shift) override {
    lines.push_back("KeyUP " + std::to_string(k) + " " + std::to_string(shift));
  }
  void KeyPress(std::int16_t& k) override { lines.push_back("KeyPress " + std::to_string(k)); }
  void MouseUp(std::int16_t& b, std::int16_t&, float&, float&) override {
    lines.push_back("MouseUp " + std::to_string(b));
  }
  void MouseOut() override { lines.push_back("MouseOut"); }
  void MouseOver() override { lines.push_back("MouseOver"); }
  void DBClick() override { lines.push_back("DBClick"); }
};

// A plain top-level window at (100, 100) on the screen with one button at (20, 20) inside it.
class ButtonWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = testing::MakeParentWindow(L"PxButtonTestParent", WS_POPUP | WS_CLIPCHILDREN);
    ASSERT_NE(parent_, nullptr);
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    control_.reset();
    DestroyWindow(parent_);
  }

  void Make(std::int32_t style, bool auto_size = true, std::int16_t back_style = 1) {
    MemoryPropertyStore settings;
    settings.Set(u"cBackStyle", std::int32_t{back_style});
    settings.Set(u"BackPicture", style == 0 ? DrawPushStrip() : DrawToggleStrip());
    settings.Set(u"Style", style);
    settings.Set(u"AutoSize", auto_size);
    settings.Set(u"Caption", Text(u"OK"));
    ControlStatus loaded;
    control_ = ButtonControl::Create(parent_, 5, {300, 300, 3000, 900}, heard_, settings, &loaded);
    ASSERT_NE(control_, nullptr);
    ASSERT_TRUE(loaded);
    ShowWindow(parent_, SW_SHOWNORMAL);
    SetForegroundWindow(parent_);
    Pump(50);
  }
  void Send(UINT message, WPARAM w = 0, int x = 10, int y = 10) {
    SendMessageW(control_->hwnd(), message, w, MAKELPARAM(x, y));
  }
  iButton& button() { return control_->button(); }
  // The screen point of a pixel of the button, which lies at (20, 20) in the parent.
  static POINT Screen(int x, int y) { return {100 + 20 + x, 100 + 20 + y}; }
  static void PointAt(int x, int y) {
    const POINT p = Screen(x, y);
    SetCursorPos(p.x, p.y);
  }

  HWND parent_ = nullptr;
  Heard heard_;
  std::unique_ptr<ButtonControl> control_;
};

TEST_F(ButtonWindowTest, FramesAreOlePicturesCutFromTheStrip) {
  for (std::int32_t style : {0, 1}) {
    Make(style);
    const int w = style == 0 ? 80 : 40;
    RECT client{};
    GetClientRect(control_->hwnd(), &client);
    EXPECT_EQ(client.right, w);
    EXPECT_EQ(client.bottom, 30);
    const PictureRef strip = button().BackPicture();
    for (std::int32_t state = 0; state < 4; ++state) {
      const ControlResult<PictureRef> frame = button().GetStateFrame(state);
      ASSERT_TRUE(frame.ok());
      const Picture& f = *frame.value();
      ASSERT_EQ(f.PixelWidth(), w);
      ASSERT_EQ(f.PixelHeight(), 30);
      EXPECT_NEAR(f.HimetricWidth(), w * 2540 / 96, 1);
      EXPECT_EQ(ButtonApiWin32::PicturePalette(f), 0u);  // a true-colour display
      for (int y : {2, 15, 27}) {
        EXPECT_EQ(f.Pixels()[y * w + 10], strip->Pixels()[y * 400 + state * w + 10] | 0xFF000000u)
            << "state " << state;
      }
    }
  }
}

TEST_F(ButtonWindowTest, TransparentStyleGivesTheWindowTheFramesShape) {
  Make(0);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(control_->hwnd(), region), ERROR);  // opaque: the whole window
  ASSERT_TRUE(button().SetcBackStyle(0));
  EXPECT_TRUE(control_->window().has_region());
  ASSERT_NE(GetWindowRgn(control_->hwnd(), region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));  // a rounded corner: key colour
  EXPECT_FALSE(PtInRegion(region, 79, 29));
  EXPECT_TRUE(PtInRegion(region, 40, 15));
  EXPECT_TRUE(PtInRegion(region, 0, 15));
  // The opaque style takes the region away once the button is back in the message loop.
  ASSERT_TRUE(button().SetcBackStyle(1));
  Pump(20);
  EXPECT_EQ(GetWindowRgn(control_->hwnd(), region), ERROR);
  EXPECT_FALSE(control_->window().has_region());
  DeleteObject(region);
}

// Hover, press, timer ticks and release repaint the button in frames of one shape: the window's
// region is set once, whether the shape is the frame itself or a stretched snapshot of it (which
// the button takes with the style opaque for a moment).
TEST_F(ButtonWindowTest, RepaintsInFramesOfOneShapeSetTheRegionOnce) {
  for (const bool auto_size : {true, false}) {
    SCOPED_TRACE(auto_size ? "AutoSize" : "stretched");
    Make(0, auto_size, 0);
    ASSERT_TRUE(control_->window().has_region());
    const int changes = control_->window().region_changes();
    EXPECT_EQ(changes, 1);
    PointAt(40, 15);
    Send(WM_MOUSEMOVE, 0, 40, 15);
    ASSERT_EQ(button().State(), Hover);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 15);
    ASSERT_EQ(button().State(), Pressed);
    Pump(150);
    Send(WM_LBUTTONUP, 0, 40, 15);
    ASSERT_TRUE(button().SetCaption(u"Go"));
    Pump(150);
    EXPECT_EQ(button().State(), Hover);
    EXPECT_EQ(control_->window().region_changes(), changes);
    EXPECT_TRUE(control_->window().has_region());
    control_.reset();
  }
}

// Where the region leaves the button see-through the pointer is over the parent: the timer
// finds it gone, as the simulated desktop does with the shape.
TEST_F(ButtonWindowTest, ThePointerOverASeeThroughCornerIsNotOverTheButton) {
  Make(0, true, 0);
  Pump(100);  // past the first tick, which finds the pointer elsewhere
  heard_.lines.clear();
  PointAt(40, 15);
  Send(WM_MOUSEMOVE, 0, 40, 15);
  ASSERT_EQ(heard_.Count("MouseOver"), 1);
  PointAt(0, 0);  // the rounded corner
  const POINT corner = Screen(0, 0);
  EXPECT_EQ(WindowFromPoint(corner), parent_);
  Pump(150);
  EXPECT_EQ(heard_.Count("MouseOut"), 1);
  EXPECT_EQ(button().State(), Normal);
}

TEST_F(ButtonWindowTest, ClickAndDoubleClickMessagesBecomeEvents) {
  Make(1);
  SetCursorPos(100 + 20 + 10, 100 + 20 + 10);  // over the button, for the hover checks
  heard_.lines.clear();
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_EQ(button().State(), Pressed);
  Send(WM_LBUTTONUP);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(heard_.lines, (std::vector<std::string>{"MouseDown 1", "MouseUp 1", "Click", "DBClick",
                                                    "MouseUp 1"}));
  EXPECT_EQ(GetFocus(), control_->hwnd());
  EXPECT_EQ(GetCapture(), nullptr);
  // A release outside the window is no click.
  Send(WM_RBUTTONDOWN, MK_RBUTTON);
  Send(WM_RBUTTONUP, 0, 500, 500);
  EXPECT_EQ(heard_.Count("Click"), 1);
}

TEST_F(ButtonWindowTest, KeysClickAsTheButtonWants) {
  Make(1);
  heard_.lines.clear();
  Send(WM_KEYDOWN, VK_RETURN);
  Send(WM_KEYDOWN, VK_RETURN);  // held: a repeat clicks again
  EXPECT_EQ(heard_.Count("Click"), 2);
  EXPECT_FALSE(button().Value());
  Send(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(button().State(), Pressed);
  Send(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(heard_.Count("Click"), 3);
  EXPECT_TRUE(button().Value());
}

// Alt+key and F10 come as system key messages: they raise the key events as plain keys do, with
// Alt in the shift state while it is held, and still reach Windows' own handling afterwards.
TEST_F(ButtonWindowTest, SystemKeysRaiseKeyEvents) {
  Make(0);
  heard_.lines.clear();
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  Send(WM_SYSKEYDOWN, 'X');
  Send(WM_SYSCHAR, 'x');
  Send(WM_SYSKEYUP, 'X');
  keys[VK_MENU] = 0;
  SetKeyboardState(keys);
  Send(WM_SYSKEYDOWN, VK_F10);
  Send(WM_SYSKEYUP, VK_F10);
  Pump(50);  // whatever the default handling started (a menu loop) ends with the messages
  EXPECT_EQ(heard_.lines, (std::vector<std::string>{"KeyDown 88 4", "KeyPress 120", "KeyUP 88 4",
                                                    "KeyDown 121 0", "KeyUP 121 0"}));
}

// Press, drag off and back with the real pointer: the window keeps the mouse, the timer follows
// the pointer (Normal outside, Pressed over), a release outside is no click, and the next tick
// after it raises MouseOut.
TEST_F(ButtonWindowTest, PressDragOffAndBackKeepsTheCaptureAndFollowsThePointer) {
  Make(1);  // a toggle: 40 x 30 pixels
  PointAt(20, 15);
  Send(WM_MOUSEMOVE, 0, 20, 15);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 15);
  ASSERT_EQ(button().State(), Pressed);
  EXPECT_EQ(GetCapture(), control_->hwnd());
  heard_.lines.clear();
  PointAt(200, 100);
  Pump(120);
  EXPECT_EQ(button().State(), Normal);
  EXPECT_EQ(heard_.Count("MouseOut"), 0);  // the button is held
  EXPECT_EQ(GetCapture(), control_->hwnd());
  PointAt(20, 15);
  Pump(120);
  EXPECT_EQ(button().State(), Pressed);
  PointAt(200, 100);
  Pump(120);
  EXPECT_EQ(button().State(), Normal);
  Send(WM_LBUTTONUP, 0, 200, 100);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(heard_.Count("Click"), 0);
  EXPECT_FALSE(button().Value());
  Pump(120);
  EXPECT_EQ(heard_.Count("MouseOut"), 1);
  EXPECT_FALSE(button().Timer1().Enabled());
}

TEST_F(ButtonWindowTest, Timer1RaisesMouseOutOnceWhenThePointerIsElsewhere) {
  SetCursorPos(0, 0);
  Make(0);
  Pump(300);
  EXPECT_EQ(heard_.Count("MouseOut"), 1);
  EXPECT_FALSE(button().Timer1().Enabled());
  EXPECT_EQ(button().Timer1().Interval(), 50u);
}

TEST_F(ButtonWindowTest, PointerOverTheWindowIsTheButtonsOwn) {
  Make(0);
  Pump(100);  // past the first tick, which finds the pointer elsewhere
  heard_.lines.clear();
  SetCursorPos(100 + 20 + 40, 100 + 20 + 15);
  Send(WM_MOUSEMOVE, 0, 40, 15);
  EXPECT_EQ(heard_.Count("MouseOver"), 1);
  EXPECT_EQ(button().State(), Hover);
  Pump(200);  // still over it: the timer keeps the hover
  EXPECT_EQ(button().State(), Hover);
  // Disabled, the window is no longer the one under the pointer.
  ASSERT_TRUE(button().SetEnabled(false));
  EXPECT_EQ(button().State(), Disabled);
  Pump(200);
  EXPECT_EQ(heard_.Count("MouseOut"), 1);
  EXPECT_EQ(button().State(), Normal);
}

}  // namespace
}  // namespace px::win32
