#pragma once

#include "events/run_events.h"
#include "platform/installer_view.h"

namespace px {

// The window on the screen as one reader of the run's events: it shows the texts, paints when
// the run asks, shows the boxes and ends as the run tells it. The window's own input (its
// close button) ends the message loop without an event; the run tells that end afterwards.
class WindowReader : public RunEvents {
 public:
  explicit WindowReader(InstallerView& window) : window_(window) {}

  void On(const RunEvent& event) override {
    std::visit(Overloaded{
                   [&](const event::Caption& e) { window_.SetCaption(e.text); },
                   [&](const event::Label2& e) { window_.SetLabel2(e.text); },
                   [&](const event::Label1& e) { window_.SetLabel1(e.index, e.text); },
                   [&](const event::Refresh&) { window_.Refresh(); },
                   [&](const event::Message& e) { window_.ShowMessage(e.text); },
                   [&](const event::Failure& e) { window_.ShowErrorAndEnd(e.error); },
                   [&](const event::End& e) {
                     if (e.kind == event::End::kUnload) window_.Unload();
                   },
                   [](const auto&) {},
               },
               event);
  }

 private:
  InstallerView& window_;
};

}  // namespace px
