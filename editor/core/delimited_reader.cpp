// SPDX-License-Identifier: MIT
#include "delimited_reader.h"

#include <algorithm>
#include <array>

#include "chinese_text.h"
#include "entry_parts.h"

namespace editor {
namespace {

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
        refusal = {startLine, u"引号里的内容没有结束：缺少后引号",
                   "a quoted field does not end: its closing quote is missing"};
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
      refusal = {line_, u"后引号后面还有文字：引号里的字段要整个放在引号里",
                 "text follows a closing quote: a quoted field must be quoted whole"};
      return false;
    }
    return true;
  }

  std::u16string_view text_;
  char16_t separator_;
  std::size_t line_;
  std::size_t at_ = 0;
};

// A comma or semicolon inside a sentence: "Where there is a will, there is a way. 有志者事竟成。"
// leaves words of the English beside the meaning in the field where the Chinese starts.
bool SplitsAWordApart(const ImportRow& row) {
  const auto meaning =
      std::find_if(row.fields.begin(), row.fields.end(),
                   [](const std::u16string& f) { return MeaningStart(f) < f.size(); });
  if (meaning == row.fields.begin() || meaning == row.fields.end()) return false;
  const auto word = SplitWord(std::u16string_view(*meaning).substr(0, MeaningStart(*meaning)));
  return !word.english.empty() && !IsPartOfSpeech(word.english);
}

// Whether the rows split alike into more than one field at `separator`.
bool RowsAgree(const std::vector<ImportRow>& rows, char16_t separator) {
  if (rows.empty()) return false;
  const auto width = rows.front().fields.size();
  return width > 1 && std::all_of(rows.begin(), rows.end(), [&](const ImportRow& r) {
           return r.fields.size() == width && (separator == u'\t' || !SplitsAWordApart(r));
         });
}

// The text of the lines before line `line` (from 1).
std::u16string_view LinesBefore(std::u16string_view text, std::size_t line) {
  std::size_t end = 0;
  for (std::size_t n = 1; n < line && end < text.size(); ++n) {
    end = std::min(text.find(u'\n', end), text.size());
    end = std::min(end + 1, text.size());
  }
  return text.substr(0, end);
}

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
  std::optional<char16_t> brokenQuoting;
  for (const char16_t separator : kCandidates) {
    Refusal refusal;
    const auto rows = ReadDelimited(text, separator, refusal, 1, kMostRows);
    if (!refusal) {
      if (RowsAgree(rows, separator)) return separator;
      continue;
    }
    // Quoting gone wrong still shows which separator was meant: one on a broken first line,
    // or the one the rows before agree on, so that the read names the fault instead of
    // taking the lines as a pasted list. A quote in a sentence of a list is no such sign.
    const auto before = LinesBefore(text, refusal.line);
    Refusal none;
    const bool meant =
        before.empty()
            ? text.substr(0, text.find(u'\n')).find(separator) != std::u16string_view::npos
            : RowsAgree(ReadDelimited(before, separator, none), separator);
    if (!brokenQuoting && meant) brokenQuoting = separator;
  }
  return brokenQuoting;
}

}  // namespace editor
