// The simulated desktop of SimButtonApi: windows in their parents' z-order, with the shapes
// their regions give them, and what lies under a screen point.
#include <algorithm>
#include <utility>

#include "controls/common/shape_mask.h"
#include "controls/sim/button_api_sim.h"

namespace px::sim {
namespace {

bool Contains(const PixelRect& r, ScreenPoint p) {
  return p.x >= r.x && p.y >= r.y && p.x - r.x < r.width && p.y - r.y < r.height;
}

}  // namespace

std::int32_t SimButtonApi::AddWindow(std::int32_t parent, PixelRect screen_rect) {
  next_hwnd_ += 2;
  windows_.push_back({next_hwnd_, parent, screen_rect, true, true, std::nullopt});
  return next_hwnd_;
}

void SimButtonApi::RemoveWindow(std::int32_t hwnd) {
  std::erase_if(windows_, [hwnd](const Window& w) { return w.hwnd == hwnd; });
}

const SimButtonApi::Window* SimButtonApi::FindWindow(std::int32_t hwnd) const {
  for (const Window& w : windows_) {
    if (w.hwnd == hwnd) return &w;
  }
  return nullptr;
}

SimButtonApi::Window* SimButtonApi::FindWindow(std::int32_t hwnd) {
  return const_cast<Window*>(std::as_const(*this).FindWindow(hwnd));
}

void SimButtonApi::SetWindowRect(std::int32_t hwnd, PixelRect screen_rect) {
  if (Window* w = FindWindow(hwnd)) w->rect = screen_rect;
}

PixelRect SimButtonApi::WindowRect(std::int32_t hwnd) const {
  const Window* w = FindWindow(hwnd);
  return w ? w->rect : PixelRect{};
}

void SimButtonApi::SetWindowEnabled(std::int32_t hwnd, bool enabled) {
  if (Window* w = FindWindow(hwnd)) w->enabled = enabled;
}

void SimButtonApi::SetWindowVisible(std::int32_t hwnd, bool visible) {
  if (Window* w = FindWindow(hwnd)) w->visible = visible;
}

void SimButtonApi::SetWindowShape(std::int32_t hwnd, std::optional<std::vector<PixelRect>> shape) {
  if (Window* w = FindWindow(hwnd)) w->shape = std::move(shape);
}

// The topmost visible child of parent under the point, followed down to the deepest window. A
// disabled window stops the search at its parent, as hit-testing passes it by.
std::int32_t SimButtonApi::TopChildAt(std::int32_t parent, ScreenPoint point) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if (it->parent != parent || !it->visible || !Contains(it->rect, point)) continue;
    if (it->shape && !ShapeContains(*it->shape, point.x - it->rect.x, point.y - it->rect.y)) {
      continue;
    }
    if (!it->enabled) return parent;
    return TopChildAt(it->hwnd, point);
  }
  return parent;
}

std::int32_t SimButtonApi::WindowFromPoint(ScreenPoint point) { return TopChildAt(0, point); }

}  // namespace px::sim
