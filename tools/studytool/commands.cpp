// SPDX-License-Identifier: MIT
#include "commands.h"

#include <istream>
#include <ostream>
#include <string>

#include "answer_log.h"

namespace studytool {

int Replay(std::istream& in, std::ostream& out, std::ostream& err) {
  study::Replay replay;
  std::string text;
  std::string why;
  for (long number = 1; std::getline(in, text); ++number) {
    const auto line = study::ParseLogLine(text, why);
    const auto after = line ? replay.apply(*line, why) : std::nullopt;
    if (!after) {
      err << "studytool replay: line " << number << ": " << why << '\n';
      return 1;
    }
    out << study::FormatReplayLine(*line, *after) << '\n';
  }
  return 0;
}

}  // namespace studytool
