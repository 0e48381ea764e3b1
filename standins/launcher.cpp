// SPDX-License-Identifier: MIT
// A stand-in for one of the suite's study programs, which lie outside this project: it
// starts a program of ours from its own folder. Built once per name, with the program to
// start (and its argument, if any) fixed at build time.
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
  program += STANDIN_TARGET;
  const char* argument = STANDIN_ARGUMENT[0] ? STANDIN_ARGUMENT : nullptr;
  execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
  std::fprintf(stderr, "%s: %s\n", program.c_str(), std::strerror(errno));
  return 127;
}
