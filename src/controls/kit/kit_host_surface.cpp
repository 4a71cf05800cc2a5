#include "px/host_surface.h"

#include "controls/kit/kit_access.h"

namespace px::kit {

HostSurface::HostSurface(HWND window) : impl_(std::make_unique<Impl>(window)) {}

HostSurface::~HostSurface() = default;

bool HostSurface::HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT* result) {
  return impl_->host.HandleMessage(message, w, l, result);
}

}  // namespace px::kit
