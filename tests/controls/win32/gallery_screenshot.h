#pragma once

// px-gallery.exe started as a program of its own, writing what the screen shows of its window
// into a 32-bit top-down BMP, and that picture read back.

#include <fstream>
#include <string>
#include <vector>

#include "base/win32/windows_api.h"
#include "controls/common/picture.h"

namespace px::testing {

// The program's path as Windows sees it; a build-tree path of the Linux host is on drive Z:.
inline std::wstring GalleryExe() {
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

inline bool ReadBmp(const std::string& path, Bmp& bmp) {
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

// Runs `px-gallery.exe --screenshot shot` and waits up to a minute: true when it started, ended
// and ended with 0.
inline bool TakeGalleryScreenshot(const std::string& shot) {
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

}  // namespace px::testing
