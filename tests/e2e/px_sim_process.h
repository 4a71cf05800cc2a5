// px-sim started as a user starts it: the whole command, its output and its exit code.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace px::testing {

struct PxSimResult {
  int code;
  std::string out;
  std::vector<std::string> lines;
};

// Runs the px-sim this test was built with (PX_SIM); its stderr goes with stdout or nowhere.
inline PxSimResult RunPxSim(const std::string& args, bool with_stderr) {
  const std::string command =
      std::string(PX_SIM) + " " + args + (with_stderr ? " 2>&1" : " 2>/dev/null");
  PxSimResult result{-1, {}, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) {
    result.out.append(buffer.data(), n);
  }
  const int status = pclose(pipe);
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream in(result.out);
  for (std::string line; std::getline(in, line);) result.lines.push_back(line);
  return result;
}

}  // namespace px::testing
