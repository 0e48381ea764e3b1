// SPDX-License-Identifier: MIT
#include "anki_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

#include "chinese_text.h"
#include "delimited_reader.h"
#include "utf8.h"

namespace editor {
namespace {

struct Header {
  char16_t separator = u'\t';
  bool html = false;
  std::u16string columns;
  std::set<std::size_t> skipped;  // columns from 0 that hold no entry text
};

using CharNames = std::pair<std::u16string_view, char16_t>;

template <std::size_t N>
std::optional<char16_t> CharNamed(const std::array<CharNames, N>& names, std::u16string_view name) {
  for (const auto& [text, c] : names) {
    if (name == text) return c;
  }
  return std::nullopt;
}

std::optional<char16_t> SeparatorNamed(std::u16string_view name) {
  static constexpr std::array<CharNames, 6> kNames{{
      {u"tab", u'\t'},
      {u"comma", u','},
      {u"semicolon", u';'},
      {u"space", u' '},
      {u"pipe", u'|'},
      {u"colon", u':'},
  }};
  if (name.size() == 1) return name[0];
  return CharNamed(kNames, AsciiLower(name));
}

std::optional<std::size_t> ColumnNumber(std::u16string_view value) {
  std::size_t n = 0;
  if (value.empty() || value.size() > 4) return std::nullopt;
  for (const char16_t c : value) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + static_cast<std::size_t>(c - u'0');
  }
  if (n == 0) return std::nullopt;
  return n - 1;
}

// One header line (without its '#'); false with `refusal` set for a value it cannot use.
bool TakeHeaderLine(std::u16string_view line, std::size_t number, Header& header,
                    Refusal& refusal) {
  const auto colon = line.find(u':');
  if (colon == std::u16string_view::npos) return true;  // a comment
  const std::u16string_view key = line.substr(0, colon);
  std::u16string_view value = line.substr(colon + 1);
  if (!value.empty() && value.back() == u'\r') value.remove_suffix(1);
  if (key == u"separator") {
    const auto separator = SeparatorNamed(value);
    if (!separator) {
      refusal = {number, u"不认识的分隔符 " + Quoted(value),
                 "unknown separator \"" + course::ToUtf8(value) + "\""};
    }
    header.separator = separator.value_or(u'\t');
  } else if (key == u"html") {
    header.html = value == u"true";
  } else if (key == u"columns") {
    header.columns = value;
  } else if (key.ends_with(u" column")) {
    const auto column = ColumnNumber(value);
    if (!column) {
      refusal = {number, Quoted(key) + u" 的列号不对：" + Quoted(value),
                 "the column number of \"" + course::ToUtf8(key) + "\" is wrong: \"" +
                     course::ToUtf8(value) + "\""};
    }
    if (column) header.skipped.insert(*column);
  }
  return !refusal;
}

std::vector<std::u16string> Kept(const std::vector<std::u16string>& fields, const Header& header) {
  std::vector<std::u16string> kept;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (header.skipped.count(i) == 0)
      kept.push_back(header.html ? HtmlToText(fields[i]) : fields[i]);
  }
  return kept;
}

void AppendEntity(std::u16string_view name, std::u16string& out) {
  static constexpr std::array<CharNames, 6> kNamed{{
      {u"nbsp", u' '},
      {u"amp", u'&'},
      {u"lt", u'<'},
      {u"gt", u'>'},
      {u"quot", u'"'},
      {u"apos", u'\''},
  }};
  if (const auto c = CharNamed(kNamed, name)) {
    out.push_back(*c);
    return;
  }
  if (name.size() > 1 && name[0] == u'#') {
    const bool hex = name[1] == u'x' || name[1] == u'X';
    std::uint32_t code = 0;
    bool digits = name.size() > (hex ? 2u : 1u);
    for (const char16_t c : name.substr(hex ? 2 : 1)) {
      const int d = c >= u'0' && c <= u'9'          ? c - u'0'
                    : hex && c >= u'a' && c <= u'f' ? c - u'a' + 10
                    : hex && c >= u'A' && c <= u'F' ? c - u'A' + 10
                                                    : -1;
      digits = digits && d >= 0 && code < 0x110000;
      code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(std::max(d, 0));
    }
    if (digits && code > 0 && code < 0x10000 && (code < 0xD800 || code > 0xDFFF)) {
      out.push_back(static_cast<char16_t>(code));
      return;
    }
  }
  out += u"&" + std::u16string(name) + u";";  // not an entity: kept as written
}

bool IsSpacingTag(std::u16string_view tag) {
  static constexpr std::array<std::u16string_view, 5> kSpacing{u"br", u"div", u"p", u"li", u"tr"};
  std::size_t start = tag.starts_with(u"/") ? 1 : 0;
  std::size_t end = start;
  while (end < tag.size() &&
         ((tag[end] >= u'a' && tag[end] <= u'z') || (tag[end] >= u'A' && tag[end] <= u'Z'))) {
    ++end;
  }
  const std::u16string name = AsciiLower(tag.substr(start, end - start));
  return std::find(kSpacing.begin(), kSpacing.end(), name) != kSpacing.end();
}

}  // namespace

bool LooksLikeAnkiNotes(std::u16string_view text) {
  static constexpr std::array<std::u16string_view, 4> kStarts{u"#separator:", u"#html:",
                                                              u"#columns:", u"#notetype"};
  return std::any_of(kStarts.begin(), kStarts.end(),
                     [text](std::u16string_view s) { return text.starts_with(s); });
}

ImportTable ReadAnkiNotes(std::u16string_view text) {
  ImportTable table;
  table.format = ImportFormat::Anki;
  Header header;
  std::size_t line = 1;
  while (text.starts_with(u"#")) {
    const auto end = text.find(u'\n');
    const auto headerLine =
        text.substr(1, end == std::u16string_view::npos ? text.size() - 1 : end - 1);
    if (!TakeHeaderLine(headerLine, line, header, table.refusal)) return table;
    text = end == std::u16string_view::npos ? std::u16string_view() : text.substr(end + 1);
    ++line;
  }
  if (!header.columns.empty()) {
    Refusal ignored;
    const auto names = ReadDelimited(header.columns, header.separator, ignored);
    if (!names.empty()) table.columnNames = Kept(names.front().fields, header);
  }
  auto rows = ReadDelimited(text, header.separator, table.refusal, line, kMostRows + 1);
  table.cut = rows.size() > kMostRows;
  if (table.cut) rows.pop_back();
  for (auto& row : rows) {
    row.fields = Kept(row.fields, header);
    // A note of nothing but note columns holds no entry.
    if (!row.fields.empty()) table.rows.push_back(std::move(row));
  }
  return table;
}

std::u16string HtmlToText(std::u16string_view html) {
  std::u16string out;
  out.reserve(html.size());
  std::size_t i = 0;
  while (i < html.size()) {
    const char16_t c = html[i];
    if (c == u'<') {
      const auto close = html.find(u'>', i);
      if (close == std::u16string_view::npos) {
        out += html.substr(i);
        break;
      }
      if (IsSpacingTag(html.substr(i + 1, close - i - 1))) out.push_back(u'\n');
      i = close + 1;
    } else if (c == u'&') {
      const auto semicolon = html.find(u';', i);
      if (semicolon == std::u16string_view::npos || semicolon - i > 10) {
        out.push_back(c);
        ++i;
      } else {
        AppendEntity(html.substr(i + 1, semicolon - i - 1), out);
        i = semicolon + 1;
      }
    } else if (html.substr(i).starts_with(u"[sound:") &&
               html.find(u']', i) != std::u16string_view::npos) {
      i = html.find(u']', i) + 1;
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return TidiedLines(out);
}

}  // namespace editor
