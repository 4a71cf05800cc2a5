#pragma once

// How the public classes (include/px/) reach the controls they stand for, and the conversions
// between their plain values and the core's.
#include "controls/common/control_error.h"
#include "controls/common/font.h"
#include "controls/common/picture.h"
#include "controls/common/property_store.h"
#include "controls/win32/control_host_window.h"
#include "px/host_surface.h"
#include "px/kit_types.h"
#include "px/picture.h"
#include "px/property_store.h"

namespace px::kit {

struct Picture::Rep {
  PictureRef ref;
};

struct HostSurface::Impl {
  explicit Impl(HWND window) : host(window) {}
  win32::HostWindowSurface host;
};

struct MemoryPropertyStore::Impl {
  px::MemoryPropertyStore store;
};

struct KitAccess {
  static PictureRef Ref(const Picture& picture) {
    return picture.rep_ != nullptr ? picture.rep_->ref : nullptr;
  }
  // The same core picture always wraps into a Picture that is that picture: a button compares
  // pictures by identity, not by pixels.
  static Picture Wrap(PictureRef ref) {
    Picture picture;
    if (ref != nullptr) picture.rep_ = std::make_shared<const Picture::Rep>(std::move(ref));
    return picture;
  }
  static win32::HostWindowSurface& Host(HostSurface& host) { return host.impl_->host; }
  static px::MemoryPropertyStore& Store(MemoryPropertyStore& settings) {
    return settings.impl_->store;
  }
};

inline ControlStatus ToKit(const px::ControlStatus& status) {
  if (status) return {};
  return ControlError{status.error().number, status.error().description};
}

inline Font ToKit(const px::Font& font) {
  return {font.name, font.size_points, font.bold, font.italic, font.underline};
}

inline px::Font ToCore(const Font& font) {
  return {font.name, font.size_points, font.bold, font.italic, font.underline};
}

}  // namespace px::kit
