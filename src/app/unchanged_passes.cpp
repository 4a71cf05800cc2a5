#include "app/unchanged_passes.h"

namespace px {

bool PassUnchanged(const std::optional<event::PassEnd>& before, const event::PassEnd& pass) {
  return before.has_value() && !pass.failed && pass.read == before->read;
}

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
  pass_lines_.clear();
}

void UnchangedPassFilter::EndPass(const event::PassEnd& pass) {
  if (!in_pass_) return;
  in_pass_ = false;
  if (PassUnchanged(last_, pass)) {
    ++unchanged_;
    if (now_ms_() - counted_at_ >= kCountIntervalMs) WriteCount();
    pass_lines_.clear();
    return;
  }
  last_ = pass;
  if (out_) {
    WriteCount();
    for (const std::string& line : pass_lines_) out_->Write(line);
  }
  pass_lines_.clear();
  counted_at_ = now_ms_();
}

}  // namespace px
