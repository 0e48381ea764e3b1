// SPDX-License-Identifier: MIT
// What the suite's command-line tools share: --help anywhere asks for a command's help.
#pragma once

#include <cstring>
#include <iostream>

namespace tools {

inline bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  }
  return false;
}

// Prints `text` to the output for help (status 0), to the error output otherwise.
inline int Usage(const char* text, int status) {
  (status == 0 ? std::cout : std::cerr) << text;
  return status;
}

}  // namespace tools
