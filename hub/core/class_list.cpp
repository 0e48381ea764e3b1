// SPDX-License-Identifier: MIT
#include "class_list.h"

#include <algorithm>
#include <set>

#include "delimited_reader.h"
#include "import_text.h"
#include "utf8.h"

namespace hub {
namespace {

constexpr std::size_t kMostNumberChars = 64;
constexpr std::size_t kMostNameChars = 128;

std::u16string Trimmed(std::u16string_view text) {
  const auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return std::u16string(text);
}

// A first row without a digit in its first field names the columns (学号, number, …).
bool IsHeader(const std::u16string& first) {
  return std::none_of(first.begin(), first.end(),
                      [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

std::optional<std::vector<ListedLearner>> ReadClassList(std::string_view bytes, std::string& why) {
  const editor::DecodedText decoded = editor::DecodeImportBytes(bytes);
  if (decoded.refusal) {
    why = decoded.refusal.englishText();
    return std::nullopt;
  }
  const char16_t separator = editor::GuessSeparator(decoded.text).value_or(u',');
  editor::Refusal refusal;
  const auto rows = editor::ReadDelimited(decoded.text, separator, refusal, 1, editor::kMostRows);
  if (refusal) {
    why = refusal.englishText();
    return std::nullopt;
  }
  std::vector<ListedLearner> learners;
  std::set<std::string> numbers;
  for (const auto& row : rows) {
    const std::u16string number = row.fields.empty() ? u"" : Trimmed(row.fields[0]);
    const std::u16string name = row.fields.size() < 2 ? u"" : Trimmed(row.fields[1]);
    if (&row == &rows.front() && IsHeader(number)) continue;
    if (number.empty() && name.empty()) continue;
    const std::string where = "line " + std::to_string(row.line) + ": ";
    if (number.empty() || name.empty()) {
      why = where + "a learner needs a number and a name";
      return std::nullopt;
    }
    if (number.size() > kMostNumberChars || name.size() > kMostNameChars) {
      why = where + "a number or a name is too long";
      return std::nullopt;
    }
    ListedLearner learner{course::ToUtf8(number), course::ToUtf8(name), row.line};
    if (!numbers.insert(learner.number).second) {
      why = where + "the number " + learner.number + " comes twice";
      return std::nullopt;
    }
    learners.push_back(std::move(learner));
  }
  return learners;
}

}  // namespace hub
