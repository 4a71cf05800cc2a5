// BForm as a Windows child control: real window messages in, WM_NOTIFY out, pixels on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "gallery_window.h"

#include <commctrl.h>
#include "controls/win32/control_bform.h"

namespace px::win32 {
namespace {

// The frame's parent: a plain top-level window that writes down what its frame tells it.
class Parent {
 public:
  Parent() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PxFrameTestParent";
    RegisterClassExW(&wc);  // a second registration fails harmlessly
    window_ = CreateWindowExW(0, wc.lpszClassName, L"frame test", WS_POPUP | WS_CLIPCHILDREN, 100,
                              100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    skin_ = DrawFrameSkin();
    bar_ = BFormControl::Create(window_, 7, {0, 0, 3000, 900}, skin_);
    bar_->frame().SetCaption(u"Test");
  }
  ~Parent() {
    bar_.reset();
    DestroyWindow(window_);
  }

  void Show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    Pump();
  }
  static void Pump() {
    for (int i = 0; i < 20; ++i) {
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
      Sleep(10);
    }
  }
  // A mouse message at a pixel of the frame, as Windows would send it.
  void Mouse(UINT message, int x, int y, WPARAM keys = 0) {
    SendMessageW(bar_->hwnd(), message, keys, MAKELPARAM(x, y));
  }
  void Click(int x, int y) {
    Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, x, y);
  }

  HWND window_;
  FrameSkin skin_;
  std::unique_ptr<BFormControl> bar_;
  std::vector<std::string> heard;
  bool change_mouse_down = false;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<Parent*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_NOTIFY) {
      auto* header = reinterpret_cast<NMHDR*>(l);
      if (header->idFrom != 7 || header->hwndFrom != self->bar_->hwnd()) return 0;
      switch (header->code) {
        case kBFormMouseDown: {
          auto* args = reinterpret_cast<BFormMouseDown*>(l);
          self->heard.push_back("MouseDown " + std::to_string(args->button) + " " +
                                std::to_string(args->shift) + " " +
                                std::to_string(static_cast<int>(args->x)) + " " +
                                std::to_string(static_cast<int>(args->y)));
          if (self->change_mouse_down) {
            args->button = 0;
            args->x = 1.5f;
          }
          return 0;
        }
        case kBFormMinClick:
          self->heard.push_back("MinClick");
          return 0;
        case kBFormCloseClick:
          self->heard.push_back("CloseClick");
          return 0;
        case kBFormDblClick:
          self->heard.push_back("DblClick");
          return 0;
      }
    }
    return DefWindowProcW(window, message, w, l);
  }
};

using Heard = std::vector<std::string>;

// Pixels of the frame 200 wide: Pmin's top-left at (152, 5), Pclose's at (176, 5).
constexpr int kMinX = 160, kCloseX = 184, kButtonY = 12;

TEST(BFormControlTest, TheChildWindowIsTheBarsHeightWhateverWasAsked) {
  Parent p;
  RECT r{};
  GetClientRect(p.bar_->hwnd(), &r);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 27);
  EXPECT_EQ(p.bar_->site().Size(), (TwipSize{3000, 405}));
  EXPECT_EQ(p.bar_->frame().Pclose().Bounds(), (TwipRect{2640, 70, 315, 315}));
  // The parent widening the window: the frame follows and draws itself at the new width.
  SetWindowPos(p.bar_->hwnd(), nullptr, 0, 0, 250, 60, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(p.bar_->hwnd(), &r);
  EXPECT_EQ(r.bottom, 27);
  EXPECT_EQ(p.bar_->frame().Pclose().Bounds().x, 3750 - 360);
}

TEST(BFormControlTest, ButtonsLookAndClickLikeTheirTable) {
  Parent p;
  const BForm& f = p.bar_->frame();
  p.Mouse(WM_MOUSEMOVE, kCloseX, kButtonY);
  EXPECT_EQ(f.Pclose().GetPicture(), p.skin_.pi4);
  p.Mouse(WM_MOUSEMOVE, kMinX, kButtonY);
  EXPECT_EQ(f.Pmin().GetPicture(), p.skin_.pi3);
  p.Mouse(WM_MOUSEMOVE, 50, 10);
  EXPECT_EQ(f.Pmin().GetPicture(), nullptr);
  EXPECT_EQ(f.Pclose().GetPicture(), nullptr);

  p.Mouse(WM_LBUTTONDOWN, kCloseX, kButtonY, MK_LBUTTON);
  EXPECT_EQ(f.Pclose().GetPicture(), p.skin_.pi2);
  EXPECT_TRUE(p.heard.empty());
  p.Mouse(WM_LBUTTONUP, kCloseX, kButtonY);
  EXPECT_EQ(f.Pclose().GetPicture(), nullptr);
  EXPECT_EQ(p.heard, (Heard{"CloseClick"}));

  p.heard.clear();
  p.Mouse(WM_RBUTTONDOWN, kMinX, kButtonY, MK_RBUTTON);  // any button presses
  EXPECT_EQ(f.Pmin().GetPicture(), p.skin_.pi1);
  p.Mouse(WM_RBUTTONUP, kMinX, kButtonY);
  EXPECT_EQ(p.heard, (Heard{"MinClick"}));
}

TEST(BFormControlTest, AReleaseAwayFromTheButtonDoesNotClickIt) {
  Parent p;
  p.Mouse(WM_LBUTTONDOWN, kCloseX, kButtonY, MK_LBUTTON);
  p.Mouse(WM_MOUSEMOVE, 50, 10, MK_LBUTTON);  // still Pclose's: it holds the mouse
  EXPECT_EQ(p.bar_->frame().Pclose().GetPicture(), p.skin_.pi4);
  p.Mouse(WM_LBUTTONUP, 50, 10);
  EXPECT_EQ(p.bar_->frame().Pclose().GetPicture(), nullptr);
  EXPECT_TRUE(p.heard.empty());
}

// The messages of a double click on Pmin or Pclose: one click event, and no pressed look left.
TEST(BFormControlTest, ADoubleClickOnAButtonClicksOnce) {
  for (const int x : {kMinX, kCloseX}) {
    Parent p;
    p.Mouse(WM_LBUTTONDOWN, x, kButtonY, MK_LBUTTON);
    p.Mouse(WM_LBUTTONUP, x, kButtonY);
    p.Mouse(WM_LBUTTONDBLCLK, x, kButtonY, MK_LBUTTON);
    p.Mouse(WM_LBUTTONUP, x, kButtonY);
    EXPECT_EQ(p.heard, (Heard{x == kMinX ? "MinClick" : "CloseClick"}));
    EXPECT_EQ(p.bar_->frame().Pmin().GetPicture(), nullptr);
    EXPECT_EQ(p.bar_->frame().Pclose().GetPicture(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
  }
}

TEST(BFormControlTest, TheBarReportsPressesAndDoubleClicks) {
  Parent p;
  p.Mouse(WM_LBUTTONDOWN, 50, 10, MK_LBUTTON | MK_SHIFT);
  p.Mouse(WM_LBUTTONUP, 50, 10);
  p.Mouse(WM_LBUTTONDBLCLK, 50, 10, MK_LBUTTON);
  p.Mouse(WM_LBUTTONUP, 50, 10);
  p.Mouse(WM_MBUTTONDOWN, 20, 20, MK_MBUTTON);
  p.Mouse(WM_MBUTTONUP, 20, 20);
  EXPECT_EQ(p.heard, (Heard{"MouseDown 1 1 750 150", "DblClick", "MouseDown 4 0 300 300"}));
}

TEST(BFormControlTest, TheParentCanChangeMouseDownArguments) {
  Parent p;
  p.change_mouse_down = true;
  std::int16_t button = kLeftButton, shift = 0;
  float x = 300, y = 45;
  p.bar_->MouseDown(button, shift, x, y);
  EXPECT_EQ(button, 0);
  EXPECT_EQ(x, 1.5f);
  EXPECT_EQ(y, 45);
}

// The tips the tooltip window holds, each with the rectangle it answers for.
std::vector<std::pair<std::wstring, RECT>> Tips(HWND tool_tips) {
  std::vector<std::pair<std::wstring, RECT>> tips;
  const int count = static_cast<int>(SendMessageW(tool_tips, TTM_GETTOOLCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[80] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.lpszText = text;
    if (!SendMessageW(tool_tips, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool))) continue;
    tips.emplace_back(text, tool.rect);
  }
  return tips;
}

TEST(BFormControlTest, TheButtonsCarryTheirTooltips) {
  Parent p;
  ASSERT_NE(p.bar_->site().tool_tips(), nullptr);
  auto tips = Tips(p.bar_->site().tool_tips());
  ASSERT_EQ(tips.size(), 2u);
  std::sort(tips.begin(), tips.end(),
            [](const auto& a, const auto& b) { return a.second.left < b.second.left; });
  EXPECT_EQ(tips[0].first, L"\u6700\u5c0f\u5316");  // Pmin
  EXPECT_EQ(tips[0].second.left, 152);
  EXPECT_EQ(tips[0].second.right, 173);
  EXPECT_EQ(tips[1].first, L"\u9000\u51fa");  // Pclose
  EXPECT_EQ(tips[1].second.left, 176);
  // A hidden button answers for no place on the bar.
  p.bar_->frame().Nomin();
  tips = Tips(p.bar_->site().tool_tips());
  for (const auto& [text, rect] : tips) {
    if (text == L"\u6700\u5c0f\u5316") {
      EXPECT_TRUE(IsRectEmpty(&rect));
    }
  }
}

TEST(BFormControlTest, AfterNominThereIsNoMinimiseButtonToClick) {
  Parent p;
  p.bar_->frame().Nomin();
  // Where the button was, the press is one on the bar itself.
  p.Click(kMinX, kButtonY);
  p.Click(kCloseX, kButtonY);
  EXPECT_EQ(p.heard, (Heard{"MouseDown 1 0 2400 180", "CloseClick"}));
}

// The pixels at (x, y) of a picture.
Argb At(const Picture& p, int x, int y) { return p.Pixels()[y * p.PixelWidth() + x]; }

bool Shows(const Picture& screen, int x, int y, const Picture& part, int part_x, int part_y, int w,
           int h) {
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      if (At(screen, x + i, y + j) != At(part, part_x + i, part_y + j)) return false;
    }
  }
  return true;
}

TEST(BFormControlTest, TheScreenShowsTheBarItsHoverLookAndKeepsThemAcrossRepaints) {
  Parent p;
  p.Show();
  PictureRef screen = gallery::CaptureScreen(p.window_);
  ASSERT_NE(screen, nullptr);
  // The right end of the skin, glyphs and all, at the bar's right end.
  EXPECT_TRUE(Shows(*screen, 133, 0, *p.skin_.pp, 27, 0, 67, 27));

  p.Mouse(WM_MOUSEMOVE, kCloseX, kButtonY);
  UpdateWindow(p.bar_->hwnd());
  Parent::Pump();  // the display server may draw a moment later
  screen = gallery::CaptureScreen(p.window_);
  EXPECT_TRUE(Shows(*screen, 176, 5, *p.skin_.pi4, 0, 0, 19, 19));

  p.Mouse(WM_MOUSEMOVE, 50, 10);
  // A repaint from scratch comes from the retained image: nothing is drawn anew.
  InvalidateRect(p.bar_->hwnd(), nullptr, TRUE);
  UpdateWindow(p.bar_->hwnd());
  Parent::Pump();
  screen = gallery::CaptureScreen(p.window_);
  EXPECT_TRUE(Shows(*screen, 133, 0, *p.skin_.pp, 27, 0, 67, 27));
}

}  // namespace
}  // namespace px::win32
