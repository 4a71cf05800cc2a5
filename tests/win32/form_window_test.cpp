#include "platform/win32/form_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/utf.h"
#include "platform/win32/dpi.h"
#include "platform/win32/form_layout.h"

namespace px::win32 {
namespace {

struct ScaleCase {
  int twips;
  int dpi;
  int pixels;
};

TEST(TwipsToPixels, RoundsToNearestWithTiesToEven) {
  const ScaleCase cases[] = {
      {10215, 96, 681},
      {6795, 96, 453},
      {9015, 96, 601},
      {315, 96, 21},
      {120, 96, 8},
      {15, 96, 1},
      {7, 96, 0},
      {8, 96, 1},
      {0, 144, 0},
      {10215, 120, 851},
      // 1021.5 and 679.5: ties go to the even neighbour.
      {10215, 144, 1022},
      {6795, 144, 680},
      {45, 144, 4},
      {75, 144, 8},
      {10215, 192, 1362},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
  }
}

TEST(LabelFontPixels, IsTenAndAHalfPointAtTheDpi) {
  EXPECT_EQ(LabelFontPixels(96), 14);
  EXPECT_EQ(LabelFontPixels(120), 18);  // 17.5
  EXPECT_EQ(LabelFontPixels(144), 21);
  EXPECT_EQ(LabelFontPixels(192), 28);
}

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[512];
  const int length = GetWindowTextW(window, buffer, 512);
  return std::wstring(buffer, static_cast<std::size_t>(length));
}

// Removes what a test left in the thread's queue (a WM_QUIT above all).
void DrainQueue() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

class FormWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DrainQueue();
    auto created = FormWindow::Create({GetModuleHandleW(nullptr), 0, u"px-installer"});
    ASSERT_TRUE(created.ok()) << ToUtf8(created.error().text);
    form_ = std::move(created.value());
  }
  void TearDown() override {
    form_.reset();
    DrainQueue();
  }

  // Every label at its designed place, in the labels' font, at a DPI.
  void ExpectLabelLayout(int dpi) {
    for (int i = -1; i < InstallerView::kLabel1Count; ++i) {
      const TwipsRect twips = i < 0 ? kLabel2Twips : Label1Twips(i);
      const RECT rect = ChildRect(i < 0 ? form_->label2_window() : form_->label1_window(i));
      EXPECT_EQ(rect.left, TwipsToPixels(twips.left, dpi)) << "label " << i;
      EXPECT_EQ(rect.top, TwipsToPixels(twips.top, dpi)) << "label " << i;
      EXPECT_EQ(rect.right - rect.left, TwipsToPixels(twips.width, dpi)) << "label " << i;
      EXPECT_EQ(rect.bottom - rect.top, TwipsToPixels(twips.height, dpi)) << "label " << i;
    }
    LOGFONTW font{};
    const auto handle =
        reinterpret_cast<HFONT>(SendMessageW(form_->label1_window(3), WM_GETFONT, 0, 0));
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(GetObjectW(handle, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, -LabelFontPixels(dpi));
  }

  std::unique_ptr<FormWindow> form_;
};

TEST_F(FormWindowTest, IsLaidOutInTwipsAtTheWindowsDpi) {
  const int dpi = static_cast<int>(form_->dpi());
  EXPECT_EQ(form_->dpi(), WindowDpi(form_->window()));
  RECT client;
  GetClientRect(form_->window(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips, dpi));
  ExpectLabelLayout(dpi);
  // At 96 dpi the design reads 681 x 453 pixels, line i of Label1 at 32 + 24 i.
  if (form_->dpi() == 96) {
    EXPECT_EQ(ChildRect(form_->label1_window(0)).top, 32);
    EXPECT_EQ(ChildRect(form_->label1_window(14)).top, 32 + 24 * 14);
    EXPECT_EQ(ChildRect(form_->label2_window()).top, 8);
  }
}

TEST_F(FormWindowTest, FollowsTheDpiOfANewMonitor) {
  RECT suggested{40, 30, 1000, 800};
  SendMessageW(form_->window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form_->dpi(), 144u);
  ExpectLabelLayout(144);
  // The frame is sized for the new DPI: only a window that really is on such a monitor has
  // frame metrics to match, so the outer size is what can be checked here.
  RECT window;
  GetWindowRect(form_->window(), &window);
  EXPECT_EQ(window.left, 40);
  EXPECT_EQ(window.top, 30);
  const SIZE outer = WindowSizeForClient(
      SIZE{TwipsToPixels(kClientWidthTwips, 144), TwipsToPixels(kClientHeightTwips, 144)},
      FormWindow::kStyle, FormWindow::kExStyle, 144);
  EXPECT_EQ(window.right - window.left, outer.cx);
  EXPECT_EQ(window.bottom - window.top, outer.cy);

  SIZE size{};
  SendMessageW(form_->window(), WM_GETDPISCALEDSIZE, 192, reinterpret_cast<LPARAM>(&size));
  RECT client{0, 0, TwipsToPixels(kClientWidthTwips, 192), TwipsToPixels(kClientHeightTwips, 192)};
  EXPECT_GE(size.cx, client.right);
  EXPECT_GE(size.cy, client.bottom);
}

TEST_F(FormWindowTest, LabelsAreCyanOneLineClippedAndShowAmpersands) {
  for (int i = -1; i < InstallerView::kLabel1Count; ++i) {
    const HWND label = i < 0 ? form_->label2_window() : form_->label1_window(i);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(label, GWL_STYLE));
    EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_LEFTNOWORDWRAP)) << "label " << i;
    EXPECT_TRUE(style & SS_NOPREFIX) << "label " << i;
    EXPECT_TRUE(style & WS_VISIBLE) << "label " << i;
    EXPECT_EQ(TextOf(label), L"Label1") << "design text of label " << i;
  }
  const HDC dc = GetDC(form_->label1_window(0));
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(form_->window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(form_->label1_window(0))));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 255, 255));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  LOGBRUSH background{};
  GetObjectW(brush, sizeof background, &background);
  EXPECT_EQ(background.lbColor, RGB(0, 0, 0));
  ReleaseDC(form_->label1_window(0), dc);

  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form_->label2_window(), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"微软雅黑");
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
}

TEST_F(FormWindowTest, TextsReadBackAsSet) {
  const Text path = u"\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_1A86&PID_7584\"";
  form_->SetCaption(u"QuorilV1.20181108");
  form_->SetLabel2(u"本软件由Veldrin股份有限公司提供");
  form_->SetLabel1(0, u"打印驱动安装中请你耐心等待");
  form_->SetLabel1(3, path);
  form_->SetLabel1(14, u"");
  form_->SetLabel1(15, u"out of range");  // ignored
  form_->SetLabel1(-1, u"out of range");
  form_->Refresh();

  EXPECT_EQ(form_->Caption(), u"QuorilV1.20181108");
  EXPECT_EQ(TextOf(form_->window()), L"QuorilV1.20181108");
  EXPECT_EQ(TextOf(form_->label2_window()), L"本软件由Veldrin股份有限公司提供");
  EXPECT_EQ(form_->Label1(0), u"打印驱动安装中请你耐心等待");
  EXPECT_EQ(form_->Label1(3), path);
  EXPECT_EQ(form_->Label1(14), u"");
  EXPECT_EQ(form_->Label1(1), u"Label1");
  EXPECT_EQ(form_->Label1(15), u"");
}

TEST_F(FormWindowTest, IsCentredOnThePrimaryMonitorsWorkArea) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT window;
  GetWindowRect(form_->window(), &window);
  const long free_left = window.left - monitor.rcWork.left;
  const long free_right = monitor.rcWork.right - window.right;
  const long free_top = window.top - monitor.rcWork.top;
  const long free_bottom = monitor.rcWork.bottom - window.bottom;
  EXPECT_LE(std::abs(free_left - free_right), 1);
  EXPECT_LE(std::abs(free_top - free_bottom), 1);
}

// What the message loop returns once the window has gone.
int QuitCode() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
    DispatchMessageW(&message);
  }
  return -1;
}

TEST_F(FormWindowTest, ClosingTheWindowEndsTheLoopWithZero) {
  SendMessageW(form_->window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form_->destroyed());
  EXPECT_EQ(QuitCode(), 0);
  // Whatever the rest of a running tick does, it does nothing.
  form_->SetLabel1(0, u"after the end");
  form_->Refresh();
  form_->ShowMessage(u"not shown");
  form_->Unload();
  EXPECT_EQ(form_->Label1(0), u"");
  EXPECT_EQ(QuitCode(), -1);
}

TEST_F(FormWindowTest, UnloadEndsTheLoopWithZero) {
  form_->Unload();
  EXPECT_TRUE(form_->destroyed());
  EXPECT_EQ(QuitCode(), 0);
}

// Confirms the message box that the thread is about to show, from the box's own modal loop.
void CALLBACK ConfirmMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowW(L"#32770", L"px-installer");
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(FormWindowTest, TheErrorBoxEndsTheLoopWithOne) {
  SetTimer(nullptr, 0, 50, &ConfirmMessageBox);
  form_->ShowErrorAndEnd(SystemError{u"WMI ExecQuery: 0x80041010"});
  EXPECT_TRUE(form_->destroyed());
  EXPECT_EQ(QuitCode(), 1);
}

TEST_F(FormWindowTest, DestroyingTheObjectDoesNotEndTheLoop) {
  form_.reset();
  EXPECT_EQ(QuitCode(), -1);
}

}  // namespace
}  // namespace px::win32
