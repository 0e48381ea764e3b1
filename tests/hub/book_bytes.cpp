// SPDX-License-Identifier: MIT
#include "book_bytes.h"

#include <stdexcept>

#include "module1.h"
#include "test_support.h"
#include "utf8.h"

namespace hubtest {
namespace {

std::string Stored(const std::string& display) {
  const auto stored = course::ScrambleText(course::FromUtf8(display).value_or(u""));
  if (!stored) throw std::runtime_error(display + " has no stored form");
  return course::ToUtf8(*stored);
}

}  // namespace

std::string BookBytes(const std::vector<std::array<std::string, 3>>& entries) {
  std::vector<std::array<std::string, 3>> stored;
  for (const auto& [lesson, english, chinese] : entries) {
    stored.push_back({Stored(lesson), Stored(english), Stored(chinese)});
  }
  return testsupport::CourseFileBytes(stored);
}

}  // namespace hubtest
