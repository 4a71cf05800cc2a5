// A command line launched at the simulated machine: split, parsed as PrintUIEntry parses it,
// and carried out against the real driver package.
#include <cstddef>
#include <cstdint>

#include "platform/sim/sim_spooler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static px::sim::Machine machine = [] {
    px::sim::Machine m;
    m.program_folder = u"C:\\PX";
    m.package_dir = px::sim::DefaultPackageDir();
    m.ports = {u"LPT1:", u"USB001"};
    return m;
  }();
  px::Text line(size / 2, u'\0');
  for (std::size_t i = 0; i < line.size(); ++i) {
    line[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  // Most inputs should reach PrintUIEntry's own options.
  line.insert(0, u"rundll32 printui.dll,PrintUIEntry ");
  px::sim::SimSystem system(machine);
  px::sim::SimSpooler spooler(machine, system);
  spooler.Run(line);
  return 0;
}
