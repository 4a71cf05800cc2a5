#include "capture/machine_toml.h"

#include <cstdio>

#include "base/utf.h"

namespace px::capture {

namespace {

bool WrittenAsItStands(char16_t c) {
  return (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\') || (c >= 0x3400 && c <= 0x9FFF) ||
         (c >= 0xAC00 && c <= 0xD7AF);
}

std::string Quoted(TextView text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (WrittenAsItStands(c)) {
      out += ToUtf8(text.substr(i, 1));
    } else if (c == u'"' || c == u'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else {
      char escape[16];
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] < 0xE000) {
        const unsigned code = 0x10000 + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u);
        std::snprintf(escape, sizeof escape, "\\U%08X", code);
        ++i;
      } else if (c >= 0xD800 && c < 0xE000) {
        std::snprintf(escape, sizeof escape, "\\uFFFD");  // an unpaired surrogate
      } else {
        std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
      }
      out += escape;
    }
  }
  return out + "\"";
}

std::string List(const std::vector<Text>& texts) {
  std::string out = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) out += ", ";
    out += Quoted(texts[i]);
  }
  return out + "]";
}

}  // namespace

std::string MachineToml(const CapturedMachine& machine) {
  char number[64];
  std::string out = "# Captured by px-capture on " + Quoted(machine.computer) + " at " +
                    Quoted(machine.captured_at) + ".\n";
  std::snprintf(number, sizeof number, "# UI language 0x%04X, ANSI code page %u.\n",
                static_cast<unsigned>(machine.ui_language_id), machine.ansi_code_page);
  out += number;
  out += "ui_language = " + Quoted(machine.ui_language) + "\n";
  out += "locale = " + Quoted(machine.locale) + "\n";
  out += "windows_version = " + Quoted(machine.windows_version) + "\n";
  out += "arch = " + Quoted(machine.arch) + "\n";
  if (!machine.installer_beside) out += "# px-installer.exe is not in this folder.\n";
  out += "program_folder = " + Quoted(machine.program_folder) + "\n";
  // Where Windows could not tell, the key stays out: px-sim then cannot tell either.
  if (machine.protected_print) {
    out += std::string("protected_print = ") + (*machine.protected_print ? "true" : "false") + "\n";
  }
  out += "registry = " + List(machine.registry_files) + "\n";
  out += "ports = " + List(machine.ports) + "\n";
  if (machine.log_copied) out += "# The installer's last log: px-installer.log.\n";
  if (machine.wmi_error) {
    out += "\n# The USB query failed: " + Quoted(*machine.wmi_error) + "\n";
    out += "[faults]\nwmi_error_from_ms = 0\n";
  }
  if (machine.printers.empty()) out += "\n# The spooler holds no printer.\n";
  for (const CapturedPrinter& printer : machine.printers) {
    out += "\n[[printers]]\nname = " + Quoted(printer.name) + "\nport = " + Quoted(printer.port) +
           "\ndriver = " + Quoted(printer.driver) + "\n";
  }
  out += "\n[[usb]]\nfrom_ms = 0\nfile = " + Quoted(machine.usb_file) + "\n";
  return out;
}

}  // namespace px::capture
