#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace px::sim {

// A malformed input file of the simulated machine: the message names the file, the line and
// the reason.
class MachineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file the machine needs that is not there or cannot be read: the input is missing, not
// malformed.
class MachineFileMissing : public MachineError {
 public:
  using MachineError::MachineError;
};

// Decodes a text file as Windows tools write it: UTF-16LE with a BOM (wmic or PowerShell
// redirected to a file), UTF-16BE with a BOM, UTF-8 with or without a BOM. Throws MachineError.
Text DecodeTextFile(std::string_view bytes, const std::string& file_name);

// The Dependent values of Win32_USBControllerDevice, one per line, as
//   wmic path Win32_USBControllerDevice get Dependent
// writes them (a "Dependent" header, lines padded with blanks and ended by CR CR LF) or as
//   Get-WmiObject Win32_USBControllerDevice | % Dependent
// does (one bare value per line). Blank lines and a "----" underline are skipped. Throws
// MachineError for a value whose quoted key is never closed (a line cut short).
std::vector<Text> ParseDependentList(std::string_view bytes, const std::string& file_name);

}  // namespace px::sim
