#include "platform/sim/host_file.h"

#include <fstream>
#include <sstream>

namespace px::sim {

std::optional<std::string> ReadHostFile(const std::filesystem::path& path) {
  if (path.empty()) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return bytes.str();
}

}  // namespace px::sim
