#include "platform/sim/windows_locale.h"

#include <unicode/uloc.h>

#include <initializer_list>
#include <string>

namespace px::sim {

namespace {

bool OneOf(std::string_view language, std::initializer_list<std::string_view> languages) {
  for (const std::string_view l : languages) {
    if (l == language) return true;
  }
  return false;
}

// Windows gives a locale the ANSI code page of its script, except for the Latin-script
// languages that have code pages of their own. Scripts without one (Devanagari, Georgian,
// Armenian, Ethiopic ...) make "Unicode-only" locales, whose programs see UTF-8.
unsigned AnsiCodePage(std::string_view language, std::string_view script) {
  if (script == "Latn") {
    if (OneOf(language, {"cs", "hu", "pl", "ro", "sk", "sl", "hr", "bs", "sr", "sq", "tk"})) {
      return 1250;
    }
    if (OneOf(language, {"tr", "az", "uz"})) return 1254;
    if (OneOf(language, {"et", "lv", "lt"})) return 1257;
    if (language == "vi") return 1258;
    return 1252;
  }
  const struct {
    std::string_view script;
    unsigned code_page;
  } kByScript[] = {{"Hans", 936},  {"Hant", 950},  {"Jpan", 932},  {"Kore", 949}, {"Thai", 874},
                   {"Cyrl", 1251}, {"Grek", 1253}, {"Hebr", 1255}, {"Arab", 1256}};
  for (const auto& entry : kByScript) {
    if (entry.script == script) return entry.code_page;
  }
  return 65001;
}

}  // namespace

std::optional<WindowsLocale> FindWindowsLocale(std::string_view tag) {
  // ICU holds Windows' table of LCIDs; it reads the tag as BCP 47 and completes its script.
  const std::string text(tag);
  char id[ULOC_FULLNAME_CAPACITY] = {};
  int32_t parsed = 0;
  UErrorCode status = U_ZERO_ERROR;
  uloc_forLanguageTag(text.c_str(), id, sizeof id, &parsed, &status);
  if (U_FAILURE(status) || tag.empty() || static_cast<std::size_t>(parsed) != tag.size()) {
    return std::nullopt;
  }
  const std::uint32_t lcid = uloc_getLCID(id);
  if (lcid == 0) return std::nullopt;

  char full[ULOC_FULLNAME_CAPACITY] = {};
  char language[ULOC_LANG_CAPACITY] = {};
  char script[ULOC_SCRIPT_CAPACITY] = {};
  status = U_ZERO_ERROR;
  uloc_addLikelySubtags(id, full, sizeof full, &status);
  uloc_getLanguage(full, language, sizeof language, &status);
  uloc_getScript(full, script, sizeof script, &status);
  if (U_FAILURE(status)) return std::nullopt;
  return WindowsLocale{lcid, AnsiCodePage(language, script)};
}

}  // namespace px::sim
