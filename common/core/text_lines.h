// SPDX-License-Identifier: MIT
// Lines of the suite's text formats (the answer log, course sources): UTF-8, fields
// separated by tabs, one record a line.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace suite {

class InputFile;

// Reads such text a line at a time. A byte order mark before the first line is skipped;
// a line ends with LF or CRLF; a control character other than the tab is refused, and so
// is a line longer than the bound, found without holding more of it than the bound.
class TextLines {
 public:
  static constexpr std::size_t kLongestLine = 64 * 1024;

  explicit TextLines(std::istream& in, std::size_t longest = kLongestLine);
  // The file must stay open while lines are read; a failed read ends the text, and the
  // file's status tells.
  explicit TextLines(InputFile& file, std::size_t longest = kLongestLine);

  // The next line without its end. False at the end of the text and at a refused line,
  // after which error() says why (it is empty at the end).
  bool next(std::string& line);
  // The number of the line last returned or refused, from 1.
  std::size_t number() const { return number_; }
  const std::string& error() const { return error_; }

 private:
  bool refuse(std::string why);
  bool fill();

  std::function<std::size_t(char*, std::size_t)> read_;
  std::size_t longest_;
  std::vector<char> buffer_;
  std::size_t at_ = 0;
  std::size_t end_ = 0;
  bool ended_ = false;
  std::size_t number_ = 0;
  std::string error_;
};

// `text` for a message: in quotes, cut after `longest` characters (whole UTF-8 sequences)
// with "..." when there is more.
std::string Quoted(std::string_view text, std::size_t longest = 60);

}  // namespace suite
