#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/machine.h"
#include "platform/sim/registry_code_page.h"
#include "platform/sim/registry_sim.h"
#include "platform/sim/registry_store.h"

namespace px::sim {

// Loads a .reg file as regedit and `reg export` write it into the store:
//   - "Windows Registry Editor Version 5.00" (UTF-16LE with a BOM, or UTF-8) or "REGEDIT4"
//     (UTF-8, or the machine's ANSI code page when the bytes are not UTF-8);
//   - [HKEY_...\key] creates a key and the keys above it, [-HKEY_...\key] deletes one with
//     everything below it;
//   - "name"= or @= (the default value) followed by "text" (with \\, \", \n, \r and \0),
//     dword:1a2b, hex:01,02 (REG_BINARY), hex(0): ... hex(b): for any other type, or - to
//     delete the value; hex lists go on over lines that end in a backslash;
//   - lines starting with ";" are comments.
// In a REGEDIT4 file hex(1), hex(2) and hex(7) data are ANSI bytes, in a version 5 file
// UTF-16LE, as each version writes them. Throws MachineError naming the file, the line and
// the reason.
void LoadRegFile(RegistryStore& store, std::string_view bytes, const std::string& file_name,
                 const CodePage& code_page);

// A registry loaded from .reg files, in this order, in the given ANSI code page.
SimRegistry LoadRegistry(const std::vector<std::filesystem::path>& files, unsigned code_page);

// The machine's registry: its .reg files in its ANSI code page.
SimRegistry LoadMachineRegistry(const Machine& machine);

}  // namespace px::sim
