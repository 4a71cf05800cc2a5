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

RotatingLog::RotatingLog(std::unique_ptr<LogFolder> folder, Text path)
    : folder_(std::move(folder)), path_(std::move(path)) {
  const std::size_t separator = path_.find_last_of(u"\\/");
  name_ = separator == Text::npos ? path_ : path_.substr(separator + 1);
}

std::unique_ptr<RotatingLog> RotatingLog::Open(LogFiles& files, const Text& path, Text* why) {
  Text full = files.FullPath(path);
  const std::size_t separator = full.find_last_of(u"\\/");
  if (full.empty() || separator == Text::npos || separator + 1 == full.size()) {
    if (why) *why = path + u": not a file name";
    return nullptr;
  }
  // "C:\\x.log" and "/x.log" keep their root's separator.
  const bool root = separator == 0 || full[separator - 1] == u':';
  FolderWalk walk = files.OpenFolder(full.substr(0, root ? separator + 1 : separator));
  if (const Text refusal = LogPathRefusal(walk, files.AccountSid()); !refusal.empty()) {
    if (why) *why = full + u": not written, " + refusal;
    return nullptr;
  }
  return OpenIn(std::move(walk.held), std::move(full), why);
}

std::unique_ptr<RotatingLog> RotatingLog::OpenIn(std::unique_ptr<LogFolder> folder, Text path,
                                                 Text* why) {
  if (!folder) {
    if (why) *why = path + u": its folder is not held";
    return nullptr;
  }
  std::unique_ptr<RotatingLog> log(new RotatingLog(std::move(folder), std::move(path)));
  if (!log->OpenChecked(why)) return nullptr;
  // A rotation that fails leaves the full log in use: it only grows on.
  if (log->size_ > kLogRotateBytes && !log->Rotate()) return nullptr;
  return log;
}

bool RotatingLog::OpenChecked(Text* why) {
  file_ = folder_->Open(name_);
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
  if (!file_->RenameTo(RotatedLogPath(name_))) {
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
