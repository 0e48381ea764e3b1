// SPDX-License-Identifier: MIT
#include "delimited_reader.h"

#include <algorithm>
#include <array>

namespace editor {
namespace {

constexpr std::size_t kRowsForGuess = 20;

class Scanner {
 public:
  Scanner(std::u16string_view text, char16_t separator, std::size_t firstLine)
      : text_(text), separator_(separator), line_(firstLine) {}

  bool done() const { return at_ >= text_.size(); }
  std::size_t line() const { return line_; }

  // One row from here; false with `refusal` set when the text breaks the quoting rules.
  bool row(ImportRow& row, Refusal& refusal) {
    row.line = line_;
    row.fields.assign(1, {});
    while (at_ < text_.size()) {
      const char16_t c = text_[at_];
      if (c == u'\r' || c == u'\n') {
        endLine();
        return true;
      }
      if (c == separator_) {
        row.fields.emplace_back();
        ++at_;
      } else if (c == u'"' && row.fields.back().empty()) {
        if (!quoted(row.fields.back(), refusal)) return false;
      } else {
        row.fields.back().push_back(c);
        ++at_;
      }
    }
    return true;
  }

 private:
  void endLine() {
    if (text_[at_] == u'\r' && at_ + 1 < text_.size() && text_[at_ + 1] == u'\n') ++at_;
    ++at_;
    ++line_;
  }

  bool quoted(std::u16string& field, Refusal& refusal) {
    const std::size_t startLine = line_;
    ++at_;
    while (true) {
      if (at_ >= text_.size()) {
        refusal = {startLine, u"引号里的内容没有结束：缺少后引号"};
        return false;
      }
      const char16_t c = text_[at_++];
      if (c == u'\n') ++line_;
      if (c != u'"') {
        field.push_back(c);
      } else if (at_ < text_.size() && text_[at_] == u'"') {
        field.push_back(u'"');
        ++at_;
      } else {
        break;
      }
    }
    if (at_ < text_.size() && text_[at_] != separator_ && text_[at_] != u'\r' &&
        text_[at_] != u'\n') {
      refusal = {line_, u"后引号后面还有文字：引号里的字段要整个放在引号里"};
      return false;
    }
    return true;
  }

  std::u16string_view text_;
  char16_t separator_;
  std::size_t line_;
  std::size_t at_ = 0;
};

bool IsBlank(const ImportRow& row) {
  return row.fields.size() == 1 && row.fields[0].empty();
}

}  // namespace

std::vector<ImportRow> ReadDelimited(std::u16string_view text, char16_t separator, Refusal& refusal,
                                     std::size_t firstLine, std::size_t maxRows) {
  std::vector<ImportRow> rows;
  Scanner scanner(text, separator, firstLine);
  ImportRow row;
  while (!scanner.done() && rows.size() < maxRows) {
    if (!scanner.row(row, refusal)) return {};
    if (!IsBlank(row)) rows.push_back(std::move(row));
  }
  return rows;
}

std::optional<char16_t> GuessSeparator(std::u16string_view text) {
  static constexpr std::array<char16_t, 3> kCandidates{u'\t', u',', u';'};
  std::optional<char16_t> best;
  std::size_t bestSplit = 0;
  for (const char16_t separator : kCandidates) {
    Refusal refusal;
    const auto rows = ReadDelimited(text, separator, refusal, 1, kRowsForGuess);
    if (refusal) {
      // Quoting gone wrong still shows which separator was meant: one on the first line,
      // so that the read names the fault instead of taking the lines as a pasted list.
      const auto firstLine = text.substr(0, text.find(u'\n'));
      if (!best && firstLine.find(separator) != std::u16string_view::npos) best = separator;
      continue;
    }
    if (rows.empty()) continue;
    const auto width = rows.front().fields.size();
    const bool even = std::all_of(rows.begin(), rows.end(),
                                  [width](const ImportRow& r) { return r.fields.size() == width; });
    const auto split = static_cast<std::size_t>(std::count_if(
        rows.begin(), rows.end(), [](const ImportRow& r) { return r.fields.size() > 1; }));
    // Rows of one width beat ragged ones; then the more rows split the better.
    const std::size_t score = split * 2 + (even && width > 1 ? rows.size() * 2 + 1 : 0);
    if (split > 0 && score > bestSplit) {
      best = separator;
      bestSplit = score;
    }
  }
  return best;
}

}  // namespace editor
