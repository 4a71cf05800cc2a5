#include "platform/sim/sim_view.h"

namespace px::sim {

void SimView::SetCaption(const Text& text) { image_.caption = text; }

void SimView::SetLabel2(const Text& text) { image_.label2 = text; }

void SimView::SetLabel1(int index, const Text& text) {
  if (index < 0 || index >= kLabel1Count) return;  // Label1 has no such element
  image_.label1[static_cast<std::size_t>(index)] = text;
}

Text SimView::Label1(int index) const {
  if (index < 0 || index >= kLabel1Count) return Text();
  return image_.label1[static_cast<std::size_t>(index)];
}

void SimView::Paint() {
  for (WindowPainter* painter : painters_) painter->Paint(image_);
}

void SimView::Refresh() { Paint(); }

void SimView::ShowMessage(const Text& text) {
  Paint();
  for (WindowPainter* painter : painters_) painter->ShowMessage(image_, title_, text);
}

void SimView::End(EndKind kind) {
  if (end_ != EndKind::kRunning) return;
  end_ = kind;
  if (on_end_) on_end_();
}

void SimView::Unload() { End(EndKind::kUnload); }
void SimView::Close() { End(EndKind::kClosed); }

void SimView::ShowErrorAndEnd(const SystemError& error) {
  ShowMessage(error.text);
  End(EndKind::kError);
}

}  // namespace px::sim
