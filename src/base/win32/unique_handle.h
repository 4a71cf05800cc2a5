#pragma once

#include <utility>

#include "base/win32/windows_api.h"

namespace px::win32 {

// Owns one handle of a kind and closes it on every path. Traits name the kind:
//   using pointer = <handle type>; static pointer Invalid(); static void Close(pointer);
template <class Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::pointer;

  UniqueHandle() = default;
  explicit UniqueHandle(pointer handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  pointer get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }

  pointer release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(pointer handle = Traits::Invalid()) {
    const pointer old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  pointer handle_ = Traits::Invalid();
};

// Kernel objects: processes, threads.
struct KernelHandleTraits {
  using pointer = HANDLE;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer handle) { CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// GDI objects: fonts, brushes.
struct GdiObjectTraits {
  using pointer = HGDIOBJ;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer object) { DeleteObject(object); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

// A window this program created and destroys when its owner goes.
struct WindowTraits {
  using pointer = HWND;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer window) {
    if (IsWindow(window)) DestroyWindow(window);
  }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

}  // namespace px::win32
