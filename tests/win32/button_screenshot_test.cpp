// px-gallery.exe on the screen: its push and toggle buttons show their frames, cut to the
// frames' rounded shape, over the window's face.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "controls/button/button_strips.h"
#include "platform/win32/windows_api.h"

namespace px {
namespace {

std::wstring GalleryExe() {
  std::string path = PX_GALLERY_EXE;
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
  return std::wstring(path.begin(), path.end());
}

struct Bmp {
  int width = 0;
  int height = 0;
  std::vector<Argb> pixels;
  Argb At(int x, int y) const { return pixels[y * width + x] | 0xFF000000u; }
};

bool ReadBmp(const std::string& path, Bmp& bmp) {
  std::ifstream in(path, std::ios::binary);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  in.read(reinterpret_cast<char*>(&file), sizeof(file));
  in.read(reinterpret_cast<char*>(&info), sizeof(info));
  if (!in || file.bfType != 0x4D42 || info.biBitCount != 32 || info.biHeight >= 0) return false;
  bmp.width = info.biWidth;
  bmp.height = -info.biHeight;
  bmp.pixels.resize(static_cast<std::size_t>(bmp.width) * bmp.height);
  in.seekg(file.bfOffBits);
  in.read(reinterpret_cast<char*>(bmp.pixels.data()),
          static_cast<std::streamsize>(bmp.pixels.size() * 4));
  return static_cast<bool>(in);
}

bool Screenshot(const std::string& shot) {
  DeleteFileA(shot.c_str());
  std::wstring command =
      L"\"" + GalleryExe() + L"\" --screenshot " + std::wstring(shot.begin(), shot.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
  DWORD exit_code = 1;
  GetExitCodeProcess(process.hProcess, &exit_code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return waited == WAIT_OBJECT_0 && exit_code == 0;
}

// True when the w x h block of the screenshot at (x, y) shows slot `slot` of the strip, except
// where the key colour makes the frame see-through, which must show the window's face.
int Mismatches(const Bmp& bmp, int x, int y, const Picture& strip, int slot, int w) {
  const Argb key = OpaqueArgb(0xFF, 0x00, 0xFD);
  const Argb face = OpaqueArgb(240, 240, 240);
  int mismatches = 0;
  for (int j = 0; j < 30; ++j) {
    for (int i = 0; i < w; ++i) {
      // The caption's middle third is left out: its letters come from the system's font.
      if (i > w / 4 && i < w - w / 4 && j > 7 && j < 23) continue;
      const Argb want = strip.Pixels()[j * 400 + slot * w + i];
      const Argb got = bmp.At(x + i, y + j);
      mismatches += got != (want == key ? face : want);
    }
  }
  return mismatches;
}

TEST(ButtonScreenshotTest, GalleryShowsBothButtonsInTheirFramesAndShapes) {
  const std::string shot = "button-screenshot.bmp";  // kept in the test's folder for a look
  ASSERT_TRUE(Screenshot(shot));
  Bmp bmp;
  ASSERT_TRUE(ReadBmp(shot, bmp));
  ASSERT_EQ(bmp.width, 300);
  ASSERT_EQ(bmp.height, 200);
  const PictureRef push = DrawPushStrip();
  const PictureRef toggle = DrawToggleStrip();
  // The pointer may rest on a button: Normal or Hover; the toggle is on, frames 4 or 5.
  const int push_off =
      std::min(Mismatches(bmp, 20, 100, *push, 0, 80), Mismatches(bmp, 20, 100, *push, 1, 80));
  const int toggle_off = std::min(Mismatches(bmp, 200, 100, *toggle, 4, 40),
                                  Mismatches(bmp, 200, 100, *toggle, 5, 40));
  EXPECT_EQ(push_off, 0);
  EXPECT_EQ(toggle_off, 0);
  // The corners are the window's face, not the key colour: the shape mask is on.
  EXPECT_EQ(bmp.At(20, 100), OpaqueArgb(240, 240, 240));
  EXPECT_EQ(bmp.At(239, 129), OpaqueArgb(240, 240, 240));
}

}  // namespace
}  // namespace px
