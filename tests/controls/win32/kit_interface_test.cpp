// The kit as a program sees it (include/px/ only): saved settings, pictures and event
// arguments cross from the interface's plain values to the controls and back unchanged.
#include <gtest/gtest.h>
#include <px/bform.h>
#include <px/ibutton.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using px::kit::Font;
using px::kit::iButton;
using px::kit::MemoryPropertyStore;
using px::kit::Picture;
using px::kit::PropertyValue;

// A strip of eight 4 x 2 frames, a toggle button's two groups.
Picture Strip() { return Picture::FromPixels(32, 2, std::vector<std::uint32_t>(64, 0xFF336699u)); }

// A handler that may turn the button of a MouseUp into another.
class UpAs final : public px::kit::iButtonEvents {
 public:
  std::int16_t up_button = 0;  // 0: leave it
  void MouseUp(std::int16_t& button, std::int16_t&, float&, float&) override {
    if (up_button != 0) button = up_button;
  }
};

// A popup window at (100, 100) on the screen, the button at (20, 20) pixels inside it.
class KitInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PxKitTestParent";
    RegisterClassExW(&wc);
    parent_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 300,
                              200, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override { DestroyWindow(parent_); }

  std::unique_ptr<iButton> Restore(MemoryPropertyStore& settings, px::kit::ControlStatus* loaded) {
    return iButton::Create(parent_, 5, {300, 300, 1200, 450}, events_, settings, loaded);
  }

  HWND parent_ = nullptr;
  UpAs events_;
};

TEST_F(KitInterfaceTest, SavedSettingsLoadAsTheButtonWantsThem) {
  Font bold;
  bold.name = u"Tahoma";
  bold.bold = true;
  const struct {
    const char16_t* key;
    PropertyValue value;
    std::int32_t error;  // 0: loads
    std::function<bool(const iButton&)> shows;
  } cases[] = {
      {u"Style", std::int32_t{1}, 0, [](const iButton& b) { return b.Style() == 1; }},
      {u"Style", u"1", 0, [](const iButton& b) { return b.Style() == 1; }},
      {u"Caption", std::u16string(u"On"), 0, [](const iButton& b) { return b.Caption() == u"On"; }},
      {u"cFont", bold, 0,
       [](const iButton& b) { return b.cFont().name == u"Tahoma" && b.cFont().bold; }},
      {u"Enabled", u"False", 0, [](const iButton& b) { return !b.Enabled(); }},
      {u"BackPicture", Picture(), 0, [](const iButton& b) { return !b.BackPicture(); }},
      {u"BackPicture", Strip(), 0,
       [](const iButton& b) { return b.BackPicture().PixelWidth() == 32; }},
      {u"Style", bold, 13, nullptr},
      {u"Caption", Strip(), 13, nullptr},
      {u"cBackStyle", std::int32_t{70000}, 6, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key, c.key + std::char_traits<char16_t>::length(c.key)));
    MemoryPropertyStore settings;
    settings.Set(c.key, c.value);
    px::kit::ControlStatus loaded;
    auto button = Restore(settings, &loaded);
    ASSERT_NE(button, nullptr);
    if (c.error == 0) {
      ASSERT_TRUE(loaded) << loaded.error().number;
      EXPECT_TRUE(c.shows(*button));
    } else {
      ASSERT_FALSE(loaded);
      EXPECT_EQ(loaded.error().number, c.error);
    }
  }
}

TEST_F(KitInterfaceTest, APictureSetIsThePictureReadBack) {
  MemoryPropertyStore none;
  px::kit::ControlStatus loaded;
  auto button = Restore(none, &loaded);
  ASSERT_NE(button, nullptr);
  const Picture strip = Strip();
  ASSERT_TRUE(button->SetBackPicture(strip));
  EXPECT_EQ(button->BackPicture().Pixels().data(), strip.Pixels().data());
  EXPECT_GT(button->Image().PixelWidth(), 0);
}

// A toggle flips on a left click over it; a handler that makes the MouseUp a right button's
// leaves it as it was, since the button reads the argument back.
TEST_F(KitInterfaceTest, AHandlersChangeToAnEventArgumentReachesTheButton) {
  for (const std::int16_t up_button : {std::int16_t{0}, std::int16_t{2}}) {
    SCOPED_TRACE(up_button);
    events_.up_button = up_button;
    MemoryPropertyStore settings;
    settings.Set(u"Style", std::int32_t{1});
    settings.Set(u"BackPicture", Strip());
    px::kit::ControlStatus loaded;
    auto button = Restore(settings, &loaded);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(loaded);
    ShowWindow(parent_, SW_SHOWNORMAL);
    SetCursorPos(100 + 20 + 2, 100 + 20 + 1);
    SendMessageW(button->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 1));
    SendMessageW(button->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 1));
    EXPECT_EQ(button->Value(), up_button == 0);
  }
}

}  // namespace
