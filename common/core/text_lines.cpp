// SPDX-License-Identifier: MIT
#include "text_lines.h"

#include <cstdio>
#include <cstring>
#include <istream>

#include "input_file.h"

namespace suite {
namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsControl(unsigned char c) {
  return (c < 0x20 && c != '\t') || c == 0x7F;
}

}  // namespace

// From a stream up to each line end only, so that lines typed at a terminal are taken as
// they come.
TextLines::TextLines(std::istream& in, std::size_t longest)
    : read_([&in](char* into, std::size_t size) {
        std::streambuf* source = in.rdbuf();
        std::size_t n = 0;
        while (n < size) {
          const int c = source->sbumpc();
          if (c == std::char_traits<char>::eof()) break;
          into[n++] = static_cast<char>(c);
          if (c == '\n') break;
        }
        return n;
      }),
      longest_(longest),
      buffer_(kChunk) {}

TextLines::TextLines(InputFile& file, std::size_t longest)
    : read_([&file](char* into, std::size_t size) { return file.read(into, size); }),
      longest_(longest),
      buffer_(kChunk) {}

bool TextLines::fill() {
  if (ended_) return false;
  at_ = 0;
  end_ = read_(buffer_.data(), buffer_.size());
  ended_ = end_ == 0;
  return !ended_;
}

bool TextLines::refuse(std::string why) {
  error_ = std::move(why);
  return false;
}

bool TextLines::next(std::string& line) {
  line.clear();
  if (!error_.empty()) return false;
  const auto tooLong = [this] {
    return refuse("the line is longer than " + std::to_string(longest_) + " bytes");
  };
  bool any = false;
  for (;;) {
    if (at_ == end_ && !fill()) break;
    any = true;
    const char* start = buffer_.data() + at_;
    const auto* lineEnd = static_cast<const char*>(std::memchr(start, '\n', end_ - at_));
    const auto take = static_cast<std::size_t>(lineEnd ? lineEnd - start : end_ - at_);
    if (line.size() + take > longest_ + 1) {  // one more for a CR before the LF
      ++number_;
      return tooLong();
    }
    line.append(start, take);
    at_ += take + (lineEnd ? 1 : 0);
    if (lineEnd) break;
  }
  if (!any) return false;
  ++number_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > longest_) return tooLong();
  if (number_ == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (IsControl(static_cast<unsigned char>(line[i]))) {
      char code[8];
      std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(line[i]));
      return refuse("control character " + std::string(code) + " at byte " + std::to_string(i + 1) +
                    " is not text");
    }
  }
  return true;
}

std::string Quoted(std::string_view text, std::size_t longest) {
  std::size_t characters = 0;
  std::size_t cut = 0;
  for (; cut < text.size(); ++cut) {
    const bool startsCharacter = (static_cast<unsigned char>(text[cut]) & 0xC0) != 0x80;
    if (startsCharacter && characters++ == longest) break;
  }
  std::string quoted = "\"";
  quoted.append(text.substr(0, cut)).append(cut < text.size() ? "...\"" : "\"");
  return quoted;
}

}  // namespace suite
