// px-gallery.exe on the screen: started as a program of its own, it writes what the screen shows
// of its window, and that must be the skinned bar with its glyphs above a skin border.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "controls/frame/frame_skin.h"
#include "platform/win32/windows_api.h"

namespace px {
namespace {

// The program's path as Windows sees it; a build-tree path of the Linux host is on drive Z:.
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

// Reads the 32-bit top-down BMP that px-gallery.exe writes.
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

Argb At(const Picture& p, int x, int y) { return p.Pixels()[y * p.PixelWidth() + x]; }

TEST(GalleryScreenshotTest, TheWindowShowsTheBarWithItsGlyphsAndTheBorder) {
  const std::string shot = "gallery-screenshot.bmp";  // kept in the test's folder for a look
  DeleteFileA(shot.c_str());
  std::wstring command =
      L"\"" + GalleryExe() + L"\" --screenshot " + std::wstring(shot.begin(), shot.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process))
      << "cannot start " << std::string(command.begin(), command.end());
  const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
  DWORD exit_code = 1;
  GetExitCodeProcess(process.hProcess, &exit_code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "px-gallery.exe did not end";
  ASSERT_EQ(exit_code, 0u);

  Bmp bmp;
  ASSERT_TRUE(ReadBmp(shot, bmp));
  ASSERT_EQ(bmp.width, 300);
  ASSERT_EQ(bmp.height, 200);
  const FrameSkin skin = DrawFrameSkin();
  const Picture& pp = *skin.pp;
  // The bar's right end: the skin's last 67 columns, both glyphs in them.
  int differing = 0;
  for (int y = 0; y < 27; ++y) {
    for (int x = 0; x < 67; ++x) differing += bmp.At(233 + x, y) != At(pp, 27 + x, y);
  }
  EXPECT_EQ(differing, 0) << "the bar's right end with its minimise and close glyphs";
  // The middle of the band, left of the glyphs.
  for (int y = 0; y < 27; ++y) EXPECT_EQ(bmp.At(200, y), At(pp, 20, y)) << "band row " << y;
  // The caption, white on blue, somewhere in its place.
  int light = 0;
  for (int y = 7; y < 22; ++y) {
    for (int x = 8; x < 80; ++x)
      light += (bmp.At(x, y) & 0xFF) > 200 && (bmp.At(x, y) >> 16 & 0xFF) > 200;
  }
  EXPECT_GT(light, 20);
  // The border: 4 pixels on the left, right and bottom.
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(bmp.At(i, 100), At(pp, i, 60));
    EXPECT_EQ(bmp.At(296 + i, 100), At(pp, 90 + i, 60));
    EXPECT_EQ(bmp.At(150, 196 + i), At(pp, 40, 81 + i));
  }
}

}  // namespace
}  // namespace px
