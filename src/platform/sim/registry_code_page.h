#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/text.h"

namespace px::sim {

// The ANSI code page of the simulated machine, converting as WideCharToMultiByte and
// MultiByteToWideChar do with CP_ACP and no flags: a character the code page lacks becomes
// "?", and so does a byte sequence that is no character of it. Windows' best-fit mappings
// (such as "ā" to "a") are not reproduced: those characters become "?" as well.
//
// 1252 is built in; every other code page (936, 950, 932, 949, 1251 ...) comes from glibc's
// iconv as "CP<n>".
class CodePage {
 public:
  // Throws MachineError for a code page that iconv does not know.
  explicit CodePage(unsigned number);
  ~CodePage();
  CodePage(CodePage&&) noexcept;
  CodePage& operator=(CodePage&&) noexcept;

  unsigned number() const { return number_; }

  std::string Encode(TextView text) const;
  Text Decode(std::string_view bytes) const;

 private:
  struct Iconv;
  unsigned number_;
  std::unique_ptr<Iconv> iconv_;  // null for 1252
};

}  // namespace px::sim
