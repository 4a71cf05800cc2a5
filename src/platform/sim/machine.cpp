#include "platform/sim/machine.h"

#include <toml++/toml.h>
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/sim/dependent_list.h"
#include "platform/utf.h"

#ifndef PX_SOURCE_ROOT
#define PX_SOURCE_ROOT "."
#endif

namespace px::sim {

namespace {

struct Language {
  std::string_view name;
  std::uint16_t lang_id;
  unsigned code_page;
};
constexpr Language kLanguages[] = {
    {"zh-CN", 0x0804, 936},  {"zh-SG", 0x1004, 936},  {"zh-TW", 0x0404, 950},
    {"zh-HK", 0x0C04, 950},  {"en-US", 0x0409, 1252}, {"en-GB", 0x0809, 1252},
    {"de-DE", 0x0407, 1252}, {"fr-FR", 0x040C, 1252}, {"ja-JP", 0x0411, 932},
    {"ko-KR", 0x0412, 949},  {"ru-RU", 0x0419, 1251},
};

const Language* FindLanguage(std::string_view name) {
  for (const Language& language : kLanguages) {
    if (language.name == name) return &language;
  }
  return nullptr;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw MachineError(path.string() + ": cannot be read");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

[[noreturn]] void Fail(const std::string& file, const toml::node& node, const std::string& why) {
  throw MachineError(file + ":" + std::to_string(node.source().begin.line) + ": " + why);
}

std::string String(const std::string& file, const toml::node& node, std::string_view key) {
  const auto* value = node.as_string();
  if (!value) Fail(file, node, std::string(key) + " must be a text");
  return value->get();
}

}  // namespace

std::uint16_t LangIdForName(std::string_view name) {
  const Language* language = FindLanguage(name);
  return language ? language->lang_id : 0;
}

unsigned AnsiCodePageForLocale(std::string_view name) {
  const Language* language = FindLanguage(name);
  return language ? language->code_page : 0;
}

std::filesystem::path MachinesDir() { return std::filesystem::path(PX_SOURCE_ROOT) / "machines"; }
std::filesystem::path DefaultPackageDir() { return std::filesystem::path(PX_SOURCE_ROOT) / "PX"; }

const std::vector<Text>& Machine::DependentsAt(std::int64_t ms) const {
  static const std::vector<Text> kNone;
  const std::vector<Text>* current = &kNone;
  for (const UsbSnapshot& snapshot : usb) {
    if (snapshot.from_ms > ms) break;
    current = &snapshot.dependents;
  }
  return *current;
}

Machine LoadMachine(const std::filesystem::path& path) {
  const std::filesystem::path file =
      std::filesystem::is_directory(path) ? path / "machine.toml" : path;
  const std::string name = file.string();
  Machine machine;
  machine.dir = file.parent_path();
  machine.package_dir = DefaultPackageDir();

  toml::table root;
  try {
    root = toml::parse(ReadFile(file), name);
  } catch (const toml::parse_error& error) {
    throw MachineError(name + ":" + std::to_string(error.source().begin.line) + ": " +
                       std::string(error.description()));
  }

  for (const auto& [key, node] : root) {
    const std::string_view k = key.str();
    if (k == "ui_language" || k == "locale") {
      const std::string value = String(name, node, k);
      const Language* language = FindLanguage(value);
      if (!language) Fail(name, node, "unknown language \"" + value + "\"");
      if (k == "ui_language") {
        machine.ui_language = language->lang_id;
      } else {
        machine.locale = value;
        machine.ansi_code_page = language->code_page;
      }
    } else if (k == "program_folder") {
      machine.program_folder = Utf8Literal(String(name, node, k));
    } else if (k == "package") {
      machine.package_dir = machine.dir / String(name, node, k);
    } else if (k == "registry") {
      const auto* files = node.as_array();
      if (!files) Fail(name, node, "registry must be a list of .reg files");
      for (const auto& entry : *files) {
        machine.registry_files.push_back(machine.dir / String(name, entry, "registry"));
      }
    } else if (k == "usb") {
      const auto* snapshots = node.as_array();
      if (!snapshots) Fail(name, node, "usb must be a list of [[usb]] tables");
      for (const auto& entry : *snapshots) {
        const auto* table = entry.as_table();
        if (!table) Fail(name, entry, "usb must be a list of [[usb]] tables");
        UsbSnapshot snapshot;
        for (const auto& [field, value] : *table) {
          if (field.str() == "from_ms") {
            const auto* ms = value.as_integer();
            if (!ms || ms->get() < 0) Fail(name, value, "from_ms must be a whole number >= 0");
            snapshot.from_ms = ms->get();
          } else if (field.str() == "file") {
            snapshot.file = String(name, value, "file");
          } else {
            Fail(name, value, "unknown key \"" + std::string(field.str()) + "\" in [[usb]]");
          }
        }
        if (snapshot.file.empty()) Fail(name, entry, "[[usb]] needs a file");
        snapshot.dependents = ParseDependentList(ReadFile(machine.dir / snapshot.file),
                                                 (machine.dir / snapshot.file).string());
        machine.usb.push_back(std::move(snapshot));
      }
    } else {
      Fail(name, node, "unknown key \"" + std::string(k) + "\"");
    }
  }
  if (machine.program_folder.empty()) {
    throw MachineError(name + ": program_folder is missing");
  }
  std::stable_sort(
      machine.usb.begin(), machine.usb.end(),
      [](const UsbSnapshot& a, const UsbSnapshot& b) { return a.from_ms < b.from_ms; });
  return machine;
}

}  // namespace px::sim
