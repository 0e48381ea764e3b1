// SPDX-License-Identifier: MIT
// One of the names the menu starts: it starts a program of the suite from its own folder.
// Built once per name, with the program to start (and its argument, if any) fixed at build
// time.
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

int main() {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) {
    std::perror("cannot find my own folder");
    return 127;
  }
  self[length] = '\0';
  std::string program(self);
  program.resize(program.rfind('/') + 1);
  program += LAUNCH_TARGET;
  const char* argument = LAUNCH_ARGUMENT[0] ? LAUNCH_ARGUMENT : nullptr;
  execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
  std::fprintf(stderr, "%s: %s\n", program.c_str(), std::strerror(errno));
  return 127;
}
