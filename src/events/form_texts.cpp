#include "events/form_texts.h"

namespace px {

void FormTexts::SetCaption(const Text& text) {
  caption_ = text;
  events_.On(event::Caption{text});
}

void FormTexts::SetLabel2(const Text& text) { events_.On(event::Label2{text}); }

void FormTexts::SetLabel1(int index, const Text& text) {
  if (index < 0 || index >= kLabel1Count) return;
  label1_[static_cast<std::size_t>(index)] = text;
  events_.On(event::Label1{index, text});
}

Text FormTexts::Label1(int index) const {
  if (index < 0 || index >= kLabel1Count) return Text();
  return label1_[static_cast<std::size_t>(index)];
}

}  // namespace px
