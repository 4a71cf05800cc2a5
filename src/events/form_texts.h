#pragma once

#include <array>

#include "base/text.h"
#include "events/run_events.h"
#include "platform/installer_view.h"

namespace px {

// Form1's caption and labels as the run keeps them: the core reads its texts back from here,
// never from a window, and every setting is told to the run's events, where the window on the
// screen is one reader among others.
class FormTexts {
 public:
  static constexpr int kLabel1Count = InstallerView::kLabel1Count;

  explicit FormTexts(RunEvents& events) : events_(events) {}

  void SetCaption(const Text& text);
  const Text& Caption() const { return caption_; }
  void SetLabel2(const Text& text);
  // index 0 ... 14; Label1 has no other element, and a setting of one is dropped.
  void SetLabel1(int index, const Text& text);
  // Empty for an index Label1 does not have.
  Text Label1(int index) const;
  // The window paints now.
  void Refresh() { events_.On(event::Refresh{}); }

  RunEvents& events() { return events_; }

 private:
  RunEvents& events_;
  Text caption_;
  std::array<Text, kLabel1Count> label1_;
};

}  // namespace px
