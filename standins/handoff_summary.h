// SPDX-License-Identifier: MIT
// What a study program learns from the hand-off file.
#pragma once

#include <string>
#include <vector>

#include "file_status.h"

namespace standins {

struct HandOffSummary {
  suite::FileStatus read;
  std::u16string lessonName;          // display text; empty when no lesson is handed off
  std::vector<std::u16string> lines;  // two display lines per entry
};

HandOffSummary SummariseHandOff(const std::string& path);

}  // namespace standins
