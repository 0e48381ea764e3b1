// SPDX-License-Identifier: MIT
// Lines of our text formats: what a line is, what is refused, and at what cost.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <streambuf>

#include "text_lines.h"

namespace {

using suite::TextLines;

std::vector<std::string> AllLines(const std::string& text) {
  std::istringstream in(text);
  TextLines lines(in);
  std::vector<std::string> read;
  for (std::string line; lines.next(line);) read.push_back(line);
  EXPECT_EQ(lines.error(), "") << text;
  return read;
}

TEST(TextLines, EndsOfLinesAndTheByteOrderMark) {
  using Lines = std::vector<std::string>;
  const std::pair<std::string, Lines> cases[] = {
      {"", {}},
      {"\n", {""}},
      {"a\tb\nc", {"a\tb", "c"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"\xEF\xBB\xBF"
       "a\r\nb",
       {"a", "b"}},
      {"a\n\xEF\xBB\xBF", {"a", "\xEF\xBB\xBF"}},  // a mark only counts at the start
      {"\xE4\xB8\xAD\xE6\x96\x87\n", {"\xE4\xB8\xAD\xE6\x96\x87"}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(AllLines(text), expected) << text;
}

TEST(TextLines, RefusesControlCharactersAndLongLinesByNumber) {
  struct Case {
    std::string text;
    std::size_t goodLines;
    std::string why;
  };
  const Case cases[] = {
      {std::string("ok\na\0b\n", 7), 1, "control character 0x00 at byte 2"},
      {"a\rb\n", 0, "control character 0x0D at byte 2"},
      {"ok\nok\n\x1b[1m", 2, "control character 0x1B at byte 1"},
      {"x\x7f", 0, "control character 0x7F at byte 2"},
      {"ok\n" + std::string(65, 'a') + "\n", 1, "longer than 64 bytes"},
      {std::string(65, 'a') + "\r\n", 0, "longer than 64 bytes"},
      {std::string(200000, 'a'), 0, "longer than 64 bytes"},
  };
  for (const auto& [text, goodLines, why] : cases) {
    std::istringstream in(text);
    TextLines lines(in, 64);
    std::string line;
    std::size_t read = 0;
    while (lines.next(line)) ++read;
    EXPECT_EQ(read, goodLines) << text;
    EXPECT_EQ(lines.number(), goodLines + 1) << text;
    EXPECT_NE(lines.error().find(why), std::string::npos) << text << " -> " << lines.error();
    EXPECT_FALSE(lines.next(line)) << "nothing is read after a refusal";
  }
  std::istringstream in(std::string(64, 'a') + "\r\n" + std::string(64, 'b'));
  TextLines lines(in, 64);
  std::string line;
  EXPECT_TRUE(lines.next(line) && lines.next(line)) << "64 bytes are allowed, CR or not";
}

// Endless text without a line end, counting what is taken from it.
class Endless : public std::streambuf {
 public:
  Endless() { chunk_.fill('a'); }
  std::size_t taken = 0;

 protected:
  int_type underflow() override {
    taken += chunk_.size();
    setg(chunk_.data(), chunk_.data(), chunk_.data() + chunk_.size());
    return traits_type::to_int_type(chunk_[0]);
  }

 private:
  std::array<char, 4096> chunk_;
};

TEST(TextLines, ALongLineIsRefusedWithoutBeingReadWhole) {
  Endless source;
  std::istream in(&source);
  TextLines lines(in, 1000);
  std::string line;
  EXPECT_FALSE(lines.next(line));
  EXPECT_NE(lines.error().find("longer than 1000 bytes"), std::string::npos);
  EXPECT_LT(source.taken, 200'000u) << "only the bound and one chunk are read";
}

TEST(TextLines, MessagesQuoteAtMostSixtyCharacters) {
  const std::string chinese60 = [] {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "\xE4\xB8\xAD";
    return text;
  }();
  const std::pair<std::string, std::string> cases[] = {
      {"", "\"\""},
      {"2026-01-05", "\"2026-01-05\""},
      {std::string(60, 'x'), "\"" + std::string(60, 'x') + "\""},
      {std::string(61, 'x'), "\"" + std::string(60, 'x') + "...\""},
      {std::string(1'000'000, 'x'), "\"" + std::string(60, 'x') + "...\""},
      {chinese60 + "\xE4\xB8\xAD", "\"" + chinese60 + "...\""},  // whole characters only
  };
  for (const auto& [text, quoted] : cases) EXPECT_EQ(suite::Quoted(text), quoted);
}

}  // namespace
