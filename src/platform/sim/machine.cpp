#include "platform/sim/machine.h"

#include <toml++/toml.h>
#include <algorithm>
#include <cstdio>
#include <set>

#include "base/utf.h"
#include "platform/sim/command_line.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/host_file.h"
#include "platform/sim/windows_locale.h"

#ifndef PX_SOURCE_ROOT
#define PX_SOURCE_ROOT "."
#endif

namespace px::sim {

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::optional<std::string> bytes = ReadHostFile(path);
  if (!bytes) throw MachineFileMissing(path.string() + ": cannot be read");
  return std::move(*bytes);
}

[[noreturn]] void Fail(const std::string& file, const toml::node& node, const std::string& why) {
  throw MachineError(file + ":" + std::to_string(node.source().begin.line) + ": " + why);
}

std::string String(const std::string& file, const toml::node& node, std::string_view key) {
  const auto* value = node.as_string();
  if (!value) Fail(file, node, std::string(key) + " must be a text");
  return value->get();
}

// toml++ 3.3 runs into undefined behaviour when it asks whether one of these characters is
// white space (its table lacks them). They are refused before the parser sees them; in a
// "quoted" text they can still be written as \uXXXX.
bool TomlReaderMisreads(char32_t c) {
  if (c <= 0xA0 || c >= 0xFEFF || c == 0x3000) return false;
  const std::uint64_t child = (c - 0xA0) / 0x3FA;
  return !((std::uint64_t{1} << child) & 0x7FFFFFFFFFFFF75Eull) && child != 5 && child != 7;
}

void CheckCharacters(std::string_view toml, const std::string& file) {
  int line = 1;
  for (std::size_t i = 0; i < toml.size();) {
    const auto b0 = static_cast<unsigned char>(toml[i]);
    const int length = b0 < 0x80 ? 1 : (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : 4;
    const std::optional<Text> text = FromUtf8(toml.substr(i, length));
    if (!text) throw MachineError(file + ":" + std::to_string(line) + ": not UTF-8 text");
    char32_t c = (*text)[0];
    if (text->size() == 2) c = 0x10000 + ((c - 0xD800) << 10) + ((*text)[1] - 0xDC00);
    if (TomlReaderMisreads(c)) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
      throw MachineError(file + ":" + std::to_string(line) + ": " + code +
                         " cannot be read here; write it as \\u" + (code + 2) +
                         " in a \"quoted\" text");
    }
    line += c == U'\n';
    i += static_cast<std::size_t>(length);
  }
}

// One [[faults]] entry: call, nth and error, the error one the operation documents.
PlannedFault ParsePlannedFault(const std::string& file, const toml::node& entry) {
  const auto* table = entry.as_table();
  if (!table) Fail(file, entry, "faults must be a [faults] table or a list of [[faults]] tables");
  PlannedFault fault;
  bool has_error = false;
  for (const auto& [field, value] : *table) {
    if (field.str() == "call") {
      fault.call = String(file, value, "call");
      if (!FindFaultableCall(fault.call)) {
        Fail(file, value, "call \"" + fault.call + "\" is no operation a fault can be planned for");
      }
    } else if (field.str() == "nth") {
      const auto* nth = value.as_integer();
      if (!nth || nth->get() < 1) Fail(file, value, "nth must be a whole number >= 1");
      fault.nth = nth->get();
    } else if (field.str() == "error") {
      const auto* error = value.as_integer();
      if (!error || error->get() <= 0 || error->get() > 0xFFFFFFFF)
        Fail(file, value, "error must be a whole number from 1 to 0xFFFFFFFF");
      fault.error = static_cast<std::uint32_t>(error->get());
      has_error = true;
    } else {
      Fail(file, value, "unknown key \"" + std::string(field.str()) + "\" in [[faults]]");
    }
  }
  if (fault.call.empty()) Fail(file, entry, "[[faults]] needs a call");
  if (!has_error) Fail(file, entry, "[[faults]] needs an error");
  const FaultableCall& call = *FindFaultableCall(fault.call);
  if (std::find(call.errors.begin(), call.errors.end(), fault.error) == call.errors.end()) {
    Fail(file, entry,
         "error " + std::to_string(fault.error) + " is not one " + fault.call + " documents");
  }
  return fault;
}

}  // namespace

std::optional<WindowsVersion> ParseWindowsVersion(std::string_view text) {
  std::uint32_t parts[3];
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t end = i < 2 ? text.find('.') : text.size();
    if (end == std::string_view::npos || end == 0 || end > 9) return std::nullopt;
    parts[i] = 0;
    for (const char c : text.substr(0, end)) {
      if (c < '0' || c > '9') return std::nullopt;
      parts[i] = parts[i] * 10 + static_cast<std::uint32_t>(c - '0');
    }
    text.remove_prefix(i < 2 ? end + 1 : end);
  }
  return WindowsVersion{parts[0], parts[1], parts[2]};
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
  return ParseMachine(ReadFile(file), file.string(), file.parent_path());
}

Machine ParseMachine(std::string_view toml, const std::string& name,
                     const std::filesystem::path& dir) {
  Machine machine;
  machine.dir = dir;
  machine.ports = {u"LPT1:", u"LPT2:", u"LPT3:", u"COM1:", u"COM2:", u"FILE:"};
  machine.package_dir = DefaultPackageDir();

  CheckCharacters(toml, name);
  toml::table root;
  try {
    root = toml::parse(toml, name);
  } catch (const toml::parse_error& error) {
    throw MachineError(name + ":" + std::to_string(error.source().begin.line) + ": " +
                       std::string(error.description()));
  }

  for (const auto& [key, node] : root) {
    const std::string_view k = key.str();
    if (k == "ui_language" || k == "locale") {
      // A capture from a PC in a language this build does not know must still replay.
      const std::string value = String(name, node, k);
      std::optional<WindowsLocale> locale = FindWindowsLocale(value);
      if (!locale) {
        machine.warnings.push_back(name + ":" + std::to_string(node.source().begin.line) +
                                   ": unknown language \"" + value +
                                   "\", taken as a custom locale with code page 1252");
        locale = kCustomLocale;
      }
      if (k == "ui_language") {
        machine.ui_language = static_cast<std::uint16_t>(locale->lcid & 0xFFFF);
      } else {
        machine.locale = value;
        machine.ansi_code_page = locale->ansi_code_page;
      }
    } else if (k == "program_folder") {
      machine.program_folder = Utf8Literal(String(name, node, k));
    } else if (k == "package") {
      machine.package_dir = machine.dir / String(name, node, k);
    } else if (k == "release") {
      const std::optional<bool> release = node.value<bool>();
      if (!release) Fail(name, node, "release must be true or false");
      machine.release = *release;
    } else if (k == "registry") {
      const auto* files = node.as_array();
      if (!files) Fail(name, node, "registry must be a list of .reg files");
      for (const auto& entry : *files) {
        machine.registry_files.push_back(machine.dir / String(name, entry, "registry"));
      }
    } else if (k == "arch") {
      const std::string arch = String(name, node, k);
      if (arch == "x86") {
        machine.arch = Architecture::kX86;
      } else if (arch == "x64") {
        machine.arch = Architecture::kAmd64;
      } else if (arch == "arm64") {
        machine.arch = Architecture::kArm64;
      } else {
        Fail(name, node, "arch must be \"x86\", \"x64\" or \"arm64\"");
      }
    } else if (k == "windows_version") {
      const std::optional<WindowsVersion> version = ParseWindowsVersion(String(name, node, k));
      if (!version) {
        Fail(name, node, "windows_version must be major.minor.build, such as \"10.0.22631\"");
      }
      machine.windows_version = *version;
    } else if (k == "ports") {
      const auto* ports = node.as_array();
      if (!ports) Fail(name, node, "ports must be a list of port names");
      // The list is the spooler's whole list: a replayed PC has the ports it had, no more.
      machine.ports.clear();
      for (const auto& entry : *ports) machine.ports.push_back(Utf8Literal(String(name, entry, k)));
    } else if (k == "drivers") {
      const auto* drivers = node.as_array();
      if (!drivers) Fail(name, node, "drivers must be a list of driver names");
      for (const auto& entry : *drivers) {
        Text driver = Utf8Literal(String(name, entry, k));
        if (driver.empty()) Fail(name, entry, "a driver needs a name");
        machine.drivers.push_back(std::move(driver));
      }
    } else if (k == "printers") {
      const auto* queues = node.as_array();
      if (!queues) Fail(name, node, "printers must be a list of [[printers]] tables");
      for (const auto& entry : *queues) {
        const auto* table = entry.as_table();
        if (!table) Fail(name, entry, "printers must be a list of [[printers]] tables");
        PrinterQueue queue;
        for (const auto& [field, value] : *table) {
          const std::string_view f = field.str();
          Text& text = f == "name" ? queue.name : f == "port" ? queue.port : queue.driver;
          if (f != "name" && f != "port" && f != "driver") {
            Fail(name, value, "unknown key \"" + std::string(f) + "\" in [[printers]]");
          }
          text = Utf8Literal(String(name, value, f));
        }
        if (queue.name.empty()) Fail(name, entry, "[[printers]] needs a name");
        machine.printers.push_back(std::move(queue));
      }
    } else if (k == "protected_print") {
      if (const auto* on = node.as_boolean()) {
        machine.protected_print = on->get();
      } else if (const auto* word = node.as_string(); !word || word->get() != "unknown") {
        Fail(name, node, "protected_print must be true, false or \"unknown\"");
      }
    } else if (k == "install_ms") {
      const auto* ms = node.as_integer();
      if (!ms || ms->get() < 0) Fail(name, node, "install_ms must be a whole number >= 0");
      machine.install_ms = ms->get();
    } else if (k == "faults" && node.is_array()) {
      for (const auto& entry : *node.as_array()) {
        machine.planned_faults.push_back(ParsePlannedFault(name, entry));
      }
    } else if (k == "faults") {
      const auto* faults = node.as_table();
      if (!faults)
        Fail(name, node, "faults must be a [faults] table or a list of [[faults]] tables");
      for (const auto& [field, value] : *faults) {
        if (field.str() == "wmi_error_from_ms") {
          const auto* ms = value.as_integer();
          if (!ms || ms->get() < 0)
            Fail(name, value, "wmi_error_from_ms must be a whole number >= 0");
          machine.wmi_error_from_ms = ms->get();
        } else if (field.str() == "wmi_error_after") {
          const auto* count = value.as_integer();
          if (!count || count->get() < 0)
            Fail(name, value, "wmi_error_after must be a whole number >= 0");
          machine.wmi_error_after = count->get();
        } else if (field.str() == "start_fails") {
          const auto* programs = value.as_array();
          if (!programs) Fail(name, value, "start_fails must be a list of program names");
          for (const auto& program : *programs) {
            machine.start_fails.push_back(
                ProgramName(Utf8Literal(String(name, program, "start_fails"))));
          }
        } else {
          Fail(name, value, "unknown key \"" + std::string(field.str()) + "\" in [faults]");
        }
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
