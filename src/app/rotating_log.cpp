#include "app/rotating_log.h"

#include "app/log_trust.h"

namespace px {

Text RotatedLogPath(TextView path) {
  const std::size_t name = path.find_last_of(u"\\/");
  const std::size_t dot = path.rfind(u'.');
  const bool has_extension = dot != TextView::npos && (name == TextView::npos || dot > name + 1);
  if (!has_extension) return Text(path) + u".1";
  return Text(path.substr(0, dot)) + u".1" + Text(path.substr(dot));
}

std::unique_ptr<RotatingLog> RotatingLog::Open(LogFiles& files, const Text& path, Text* why) {
  Text full = files.FullPath(path);
  if (full.empty()) {
    if (why) *why = path + u": not a file name";
    return nullptr;
  }
  std::unique_ptr<RotatingLog> log(new RotatingLog(files, std::move(full)));
  if (!log->OpenChecked(why)) return nullptr;
  // A rotation that fails leaves the full log in use: it only grows on.
  if (log->size_ > kLogRotateBytes && !log->Rotate()) return nullptr;
  return log;
}

bool RotatingLog::OpenChecked(Text* why) {
  file_ = files_.Open(path_);
  if (!file_) {
    if (why) *why = path_ + u": cannot be opened";
    return false;
  }
  const OpenedFileFacts facts = file_->Facts();
  if (const Text refusal = LogFileRefusal(facts); !refusal.empty()) {
    file_.reset();
    if (why) *why = path_ + u": not written, " + refusal;
    return false;
  }
  size_ = facts.size;
  return true;
}

bool RotatingLog::Rotate() {
  // Another program may hold the file without sharing its deletion (a capture copying it): the
  // log then grows on for this run instead of trying again at every line.
  if (!file_->RenameTo(RotatedLogPath(path_))) {
    rotation_failed_ = true;
    return true;
  }
  return OpenChecked(nullptr);
}

void RotatingLog::Write(std::string_view line) {
  if (!file_) return;
  if (!file_->Append(line)) return;
  size_ += line.size();
  if (size_ > kLogRotateBytes && !rotation_failed_ && !Rotate()) file_.reset();
}

}  // namespace px
