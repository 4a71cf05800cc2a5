#include "platform/sim/sim_view.h"

namespace px::sim {

void SimView::SetCaption(const Text& text) {
  image_.caption = text;
  trace_.Write({u"Caption", text});
}

void SimView::SetLabel2(const Text& text) {
  image_.label2 = text;
  trace_.Write({u"Label2", text});
}

void SimView::SetLabel1(int index, const Text& text) {
  if (index < 0 || index >= kLabel1Count) return;  // Label1 has no such element
  image_.label1[static_cast<std::size_t>(index)] = text;
  trace_.Write({u"Label1(" + Decimal(index) + u")", text});
}

Text SimView::Label1(int index) const {
  if (index < 0 || index >= kLabel1Count) return Text();
  return image_.label1[static_cast<std::size_t>(index)];
}

void SimView::Paint() {
  for (WindowPainter* painter : painters_) painter->Paint(image_);
}

void SimView::Refresh() {
  trace_.Write({u"Refresh"});
  Paint();
}

void SimView::ShowMessage(const Text& text) {
  trace_.Write({u"Message", title_, text});
  Paint();
  for (WindowPainter* painter : painters_) painter->ShowMessage(image_, title_, text);
}

void SimView::End(EndKind kind, TextView word) {
  if (end_ != EndKind::kRunning) return;
  end_ = kind;
  trace_.Write({u"End", word});
  if (on_end_) on_end_();
}

void SimView::Unload() { End(EndKind::kUnload, u"unload"); }
void SimView::Close() { End(EndKind::kClosed, u"closed"); }

void SimView::ShowErrorAndEnd(const SystemError& error) {
  ShowMessage(error.text);
  End(EndKind::kError, u"error");
}

}  // namespace px::sim
