// SPDX-License-Identifier: MIT
// studyhub: the class server and its teacher's commands.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"

int main(int argc, char** argv) {
  return hub::RunStudyhub(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
