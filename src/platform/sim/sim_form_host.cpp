#include "platform/sim/sim_form_host.h"

namespace px::sim {

Status SimFormHost::Open(bool show_window, RunEvents&) {
  if (const std::uint32_t error = Injected("CreateWindowEx")) {
    return PlannedError(u"CreateWindowExW", error);
  }
  loop_.SetStartCheck([this]() -> std::optional<Text> {
    if (const std::uint32_t error = Injected("SetTimer")) {
      return PlannedError(u"SetTimer", error).text;
    }
    return std::nullopt;
  });
  if (!show_window) return Ok();
  if (const std::uint32_t error = Injected("CreateWindowEx")) {
    return PlannedError(u"CreateWindowExW", error);
  }
  view_ = std::make_unique<SimView>([this] { loop_.Quit(); });
  for (WindowPainter* painter : painters_) view_->AddPainter(painter);
  // Windows paints once a tick's handler has returned.
  loop_.SetAfterTick([this] { view_->Paint(); });
  return Ok();
}

void SimFormHost::Run() {
  if (view_) view_->Paint();
  if (loop_.Run(close_at_ms_) == EventLoop::Stopped::kTimeLimit && view_) view_->Close();
}

}  // namespace px::sim
