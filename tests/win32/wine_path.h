// Paths of the Linux build tree as the Windows programs under Wine see them.
#pragma once

#include <string>

namespace px::testing {

// A host path such as /work/build/win32/px-installer.exe is Z:\work\build\win32\px-installer.exe
// under Wine; a path that is already a Windows one is kept. The tests' paths are ASCII.
inline std::wstring WindowsPathOf(std::string path) {
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
  return std::wstring(path.begin(), path.end());
}

}  // namespace px::testing
