#include "app/unchanged_passes.h"

namespace px {

UnchangedPassFilter::UnchangedPassFilter(LineSink* out, RunLog::Clock now_ms)
    : out_(out), own_lines_(out, now_ms), now_ms_(std::move(now_ms)) {}

void UnchangedPassFilter::Write(std::string_view line) {
  if (!out_) return;
  if (in_pass_) {
    pass_lines_.emplace_back(line);
    return;
  }
  WriteCount();
  out_->Write(line);
}

void UnchangedPassFilter::WriteCount() {
  if (unchanged_ == 0) return;
  const Text passes =
      unchanged_ == 1 ? u"1 detection pass" : Decimal(unchanged_) + u" detection passes";
  own_lines_.Write({u"Unchanged", passes + u" read the same USB devices as the one before"});
  unchanged_ = 0;
  counted_at_ = now_ms_();
}

void UnchangedPassFilter::BeginPass() {
  in_pass_ = true;
  failed_ = false;
  pass_lines_.clear();
  read_.clear();
}

void UnchangedPassFilter::Read(TextView dependent) {
  if (in_pass_) read_.emplace_back(dependent);
}

void UnchangedPassFilter::ReadFailed() {
  // A failure is never the same as before: its lines always go to the log.
  failed_ = true;
}

void UnchangedPassFilter::EndPass() {
  if (!in_pass_) return;
  in_pass_ = false;
  if (any_pass_ && !failed_ && read_ == last_read_) {
    ++unchanged_;
    if (now_ms_() - counted_at_ >= kCountIntervalMs) WriteCount();
    pass_lines_.clear();
    return;
  }
  any_pass_ = true;
  last_read_ = std::move(read_);
  read_.clear();
  if (out_) {
    WriteCount();
    for (const std::string& line : pass_lines_) out_->Write(line);
  }
  pass_lines_.clear();
  counted_at_ = now_ms_();
}

namespace {

class WatchedCursor : public UsbAssociationCursor {
 public:
  WatchedCursor(std::unique_ptr<UsbAssociationCursor> inner, UnchangedPassFilter& filter)
      : inner_(std::move(inner)), filter_(filter) {}
  ~WatchedCursor() override { filter_.EndPass(); }

  Expected<bool> Next() override {
    Expected<bool> next = inner_->Next();
    if (!next) filter_.ReadFailed();
    return next;
  }
  Expected<Text> Dependent() override {
    Expected<Text> dependent = inner_->Dependent();
    if (dependent) {
      filter_.Read(dependent.value());
    } else {
      filter_.ReadFailed();
    }
    return dependent;
  }

 private:
  std::unique_ptr<UsbAssociationCursor> inner_;
  UnchangedPassFilter& filter_;
};

}  // namespace

Expected<std::unique_ptr<UsbAssociationCursor>> PassWatchingUsb::Query() {
  Expected<std::unique_ptr<UsbAssociationCursor>> cursor = inner_.Query();
  if (!cursor) return cursor;
  filter_.BeginPass();
  return std::unique_ptr<UsbAssociationCursor>(
      std::make_unique<WatchedCursor>(std::move(cursor.value()), filter_));
}

}  // namespace px
