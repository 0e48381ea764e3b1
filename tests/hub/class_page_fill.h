// SPDX-License-Identifier: MIT
// A class of learners with weeks of answers, as their devices would send them, and what the
// class page must show for it, counted here from the answers themselves.
#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sync_messages.h"

namespace hubtest {

struct FilledLearner {
  std::string number;
  std::string name;
  studysync::SyncItems items;  // everything their one device sends
};

struct ClassFill {
  std::vector<FilledLearner> learners;
  studysync::Millis now = 0;
  studysync::Millis weekStart = 0;
};

// `learners` learners: weeks of answers over seven lessons, some idle this week, one who
// never studied, withdrawn answers, dictation and typing rounds, and entries "hard 1" to
// "hard 25" answered 重来 this week by that many learners each. `weekStart`: this week's.
ClassFill FillClass(int learners, studysync::Millis now, studysync::Millis weekStart);

// What the page must show: the grid's cells ("已学 L/E，到期 D" by 学号 and lesson), each
// learner's week, the hardest entries in order and who missed the hardest.
nlohmann::json ExpectedPage(const ClassFill& fill);

}  // namespace hubtest
