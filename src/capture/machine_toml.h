#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"

namespace px::capture {

struct CapturedPrinter {
  Text name;
  Text port;  // the spooler's port list: names separated by commas
  Text driver;
};

// What px-capture reads of a PC, for its machine.toml.
struct CapturedMachine {
  Text computer;
  Text captured_at;  // local time, "2026-12-07 18:40:12"
  Text ui_language;  // "zh-CN": GetUserDefaultUILanguage's locale name
  std::uint16_t ui_language_id = 0;
  Text locale;                  // "zh-CN": the system locale
  unsigned ansi_code_page = 0;  // GetACP
  Text windows_version;         // "10.0.22631"
  Text arch;                    // "x86", "x64" or "arm64": the native architecture
  Text program_folder;
  bool installer_beside = false;          // px-installer.exe lies in program_folder
  std::vector<Text> ports;                // EnumPorts
  std::vector<CapturedPrinter> printers;  // EnumPrinters
  std::vector<Text> registry_files;       // "printers.reg", "usbprint.reg"
  Text usb_file;                          // "usb.txt"
  std::optional<Text> wmi_error;          // the query failed: the installer's WMI error text
  bool log_copied = false;                // px-installer.log lies beside machine.toml
  std::optional<bool> protected_print;    // what Windows answered; none: it could not tell
};

// machine.toml for px-sim: the keys it reads, and as comments what it does not (the computer,
// the moment, the LANGID and code page, the printers the spooler holds). A WMI query that
// failed becomes [faults] wmi_error_from_ms = 0, so that a replay fails as the installer did.
// Texts are TOML basic strings in UTF-8; outside ASCII only CJK ideographs and Hangul are
// written as they stand, everything else as a \u escape, which every TOML reader takes.
std::string MachineToml(const CapturedMachine& machine);

}  // namespace px::capture
