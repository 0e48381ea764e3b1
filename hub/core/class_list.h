// SPDX-License-Identifier: MIT
// A class list as a school keeps it: 学号,姓名 a line, as a spreadsheet saves it (comma,
// semicolon or tab; UTF-8 with or without a byte order mark, or GBK); a header row is
// passed over.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hub {

struct ListedLearner {
  std::string number;  // UTF-8, trimmed
  std::string name;
  std::size_t line = 0;
};

// The learners of `bytes`, or nothing with `why` naming the line and the reason.
std::optional<std::vector<ListedLearner>> ReadClassList(std::string_view bytes, std::string& why);

}  // namespace hub
