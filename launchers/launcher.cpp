// SPDX-License-Identifier: MIT
// One of the names the menu starts: it starts a program of the suite from its own folder.
// Built once per name, with the program to start (and its argument, if any) fixed at build
// time.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "file_places.h"

int main() {
  const std::string folder = suite::FolderOfThisProgram();
  if (folder.empty()) {
    std::perror("cannot find my own folder");
    return 127;
  }
  const std::string program = folder + "/" + LAUNCH_TARGET;
  const char* argument = LAUNCH_ARGUMENT[0] ? LAUNCH_ARGUMENT : nullptr;
  execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
  std::fprintf(stderr, "%s: %s\n", program.c_str(), std::strerror(errno));
  return 127;
}
