// px-gallery's window does what the frame leaves to its host: it moves when the bar is dragged,
// minimises on MinClick and closes on CloseClick.
#include <gtest/gtest.h>

#include <thread>

#include "gallery_window.h"

namespace px::gallery {
namespace {

void Pump(int rounds = 20) {
  for (int i = 0; i < rounds; ++i) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(10);
  }
}

std::unique_ptr<GalleryWindow> Shown() {
  auto gallery = GalleryWindow::Create(GetModuleHandleW(nullptr), {4500, 3000});
  if (gallery != nullptr) {
    ShowWindow(gallery->hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(gallery->hwnd());
    Pump();
  }
  return gallery;
}

// A click of the left button at a pixel of the bar, through the bar's own window.
void ClickBar(GalleryWindow& g, int x, int y) {
  SendMessageW(g.bar().hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(g.bar().hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump();
}

TEST(GalleryWindowTest, TheBarRunsAlongTheWholeTop) {
  auto g = Shown();
  ASSERT_NE(g, nullptr);
  RECT bar{};
  GetWindowRect(g->bar().hwnd(), &bar);
  RECT window{};
  GetWindowRect(g->hwnd(), &window);
  EXPECT_EQ(bar.left, window.left);
  EXPECT_EQ(bar.top, window.top);
  EXPECT_EQ(bar.right - bar.left, 300);
  EXPECT_EQ(bar.bottom - bar.top, 27);
}

TEST(GalleryWindowTest, MinClickMinimisesTheWindow) {
  auto g = Shown();
  ASSERT_NE(g, nullptr);
  ClickBar(*g, 260, 12);  // Pmin: 4500 - 720 twips = pixel 252
  EXPECT_TRUE(IsIconic(g->hwnd()));
  EXPECT_TRUE(IsWindow(g->hwnd()));
}

TEST(GalleryWindowTest, CloseClickClosesTheWindow) {
  auto g = Shown();
  ASSERT_NE(g, nullptr);
  const HWND window = g->hwnd();
  ClickBar(*g, 284, 12);  // Pclose: 4500 - 360 twips = pixel 276
  EXPECT_FALSE(IsWindow(window));
}

TEST(GalleryWindowTest, DraggingTheBarMovesTheWindow) {
  auto g = Shown();
  ASSERT_NE(g, nullptr);
  RECT before{};
  GetWindowRect(g->hwnd(), &before);
  // Real input: the pointer goes to the bar, presses, moves 40 and 28 pixels, releases. The
  // input comes from another thread, since the window's move loop holds this one.
  SetCursorPos(before.left + 100, before.top + 10);
  Pump();
  std::thread hand([] {
    const auto send = [](DWORD flags, LONG dx, LONG dy) {
      INPUT input{};
      input.type = INPUT_MOUSE;
      input.mi.dx = dx;
      input.mi.dy = dy;
      input.mi.dwFlags = flags;
      SendInput(1, &input, sizeof(input));
      Sleep(100);
    };
    send(MOUSEEVENTF_LEFTDOWN, 0, 0);
    for (int step = 0; step < 4; ++step) send(MOUSEEVENTF_MOVE, 10, 7);
    send(MOUSEEVENTF_LEFTUP, 0, 0);
  });
  Pump(150);
  hand.join();
  Pump();
  RECT after{};
  GetWindowRect(g->hwnd(), &after);
  EXPECT_NE(after.left, before.left);
  EXPECT_GT(after.left - before.left, 20);
  EXPECT_GT(after.top - before.top, 10);
  EXPECT_EQ(after.right - after.left, 300);
}

}  // namespace
}  // namespace px::gallery
