// SPDX-License-Identifier: MIT
// studytool: look into a learner's progress and check the scheduler.
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "commands.h"

namespace {

constexpr const char* kUsage =
    "usage: studytool replay [LOG]\n"
    "Run 'studytool COMMAND --help' for one command.\n";

constexpr const char* kReplayHelp =
    "usage: studytool replay [LOG]\n"
    "Reads answers from LOG (standard input without it), one a line in time order:\n"
    "card<TAB>time<TAB>grade, the time in ISO-8601 UTC such as 2026-01-05T08:00:00Z, the\n"
    "grade 1 to 4. Prints one line per answer: the three fields, then the card's\n"
    "stability and difficulty (6 decimals), the interval in days and the due time, as\n"
    "FSRS-6 schedules them. A bad line is refused with its number and the reason (exit 1).\n";

bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  }
  return false;
}

int Usage(const char* text, int status) {
  (status == 0 ? std::cout : std::cerr) << text;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const bool help = AsksForHelp(argc, argv);
  if (command == "replay") {
    if (help || argc > 3) return Usage(kReplayHelp, help ? 0 : 2);
    if (argc == 2) return studytool::Replay(std::cin, std::cout, std::cerr);
    std::ifstream log(argv[2]);
    if (!log) {
      std::cerr << "studytool replay: cannot read " << argv[2] << ": " << std::strerror(errno)
                << '\n';
      return 2;
    }
    return studytool::Replay(log, std::cout, std::cerr);
  }
  return Usage(kUsage, help ? 0 : 2);
}
