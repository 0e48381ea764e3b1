// SPDX-License-Identifier: MIT
#include "dump_format.h"

#include <array>
#include <cstdio>
#include <vector>

#include "module1.h"
#include "text_lines.h"
#include "utf8.h"

namespace coursetool {
namespace {

constexpr std::size_t kFields = 1 + course::kTextFields + 3;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Characters a line may not hold as they are: other than tab and newline, written \xHH.
bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

void AppendEscaped(std::string_view text, std::string& out) {
  for (const char c : text) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (IsControl(c)) {
          char code[8];
          std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
          out += code;
        } else {
          out.push_back(c);
        }
    }
  }
}

std::optional<std::string> Unescape(std::string_view text, std::string& error) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    const char next = i + 1 < text.size() ? text[++i] : '\0';
    if (next == 't') {
      out.push_back('\t');
    } else if (next == 'n') {
      out.push_back('\n');
    } else if (next == '\\') {
      out.push_back('\\');
    } else if (next == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
               HexDigit(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexDigit(text[i + 1]) << 4 | HexDigit(text[i + 2])));
      i += 2;
    } else {
      error = "a backslash must be followed by t, n, x and two hex digits, or another backslash";
      return std::nullopt;
    }
  }
  return out;
}

template <std::size_t N>
void AppendHex(const std::array<std::uint8_t, N>& bytes, std::string& out) {
  char digits[3];
  for (const auto b : bytes) {
    std::snprintf(digits, sizeof digits, "%02x", b);
    out += digits;
  }
}

template <std::size_t N>
bool ParseHex(std::string_view text, std::array<std::uint8_t, N>& bytes) {
  if (text.size() != 2 * N) return false;
  for (std::size_t i = 0; i < N; ++i) {
    const int hi = HexDigit(text[2 * i]);
    const int lo = HexDigit(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[i] = static_cast<std::uint8_t>(hi << 4 | lo);
  }
  return true;
}

std::string CodePointName(char16_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::optional<std::size_t> ParseSlot(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  std::size_t slot = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    slot = slot * 10 + static_cast<std::size_t>(c - '0');
  }
  if (slot >= course::kRecordSlots) return std::nullopt;
  return slot;
}

}  // namespace

std::string FormatDumpLine(std::size_t slot, const course::CourseRecord& record) {
  std::string line = std::to_string(slot);
  for (const auto& text : record.texts) {
    line.push_back('\t');
    AppendEscaped(course::ToUtf8(course::UnscrambleText(text)), line);
  }
  line.push_back('\t');
  AppendHex(record.number1, line);
  line.push_back('\t');
  AppendHex(record.number2, line);
  line.push_back('\t');
  AppendHex(record.number3, line);
  return line;
}

std::optional<std::u16string> ScrambleText(std::u16string_view display, std::string& error) {
  course::ScrambleRefusal refusal;
  auto stored = course::ScrambleText(display, &refusal);
  if (stored) return stored;
  if (refusal.storedBytes > 0) {
    error = "the text is too long: " + std::to_string(refusal.storedBytes) +
            " bytes stored, at most 65535";
  } else if (refusal.character == 0) {
    error = "the stored form would not read back as the same text";
  } else {
    error = "character " + CodePointName(refusal.character) +
            (refusal.noCodeValue ? " cannot be written in code page 936"
                                 : " has no stored form in code page 936");
  }
  return std::nullopt;
}

std::optional<ParsedLine> ParseDumpLine(std::string_view line, std::string& error) {
  const auto fields = SplitTabs(line);
  if (fields.size() != kFields) {
    error = "expected " + std::to_string(kFields) + " tab-separated fields, found " +
            std::to_string(fields.size());
    return std::nullopt;
  }
  ParsedLine parsed;
  const auto slot = ParseSlot(fields[0]);
  if (!slot) {
    error = "the slot must be a number from 0 to " + std::to_string(course::kRecordSlots - 1);
    return std::nullopt;
  }
  parsed.slot = *slot;
  for (std::size_t f = 0; f < course::kTextFields; ++f) {
    const auto utf8 = Unescape(fields[1 + f], error);
    if (!utf8) return std::nullopt;
    const auto display = course::FromUtf8(*utf8);
    if (!display) {
      error = "text field " + std::to_string(f + 1) + " is not UTF-8";
      return std::nullopt;
    }
    auto stored = ScrambleText(*display, error);
    if (!stored) {
      error = "text field " + std::to_string(f + 1) + ": " + error;
      return std::nullopt;
    }
    parsed.record.texts[f] = std::move(*stored);
  }
  if (!ParseHex(fields[7], parsed.record.number1) || !ParseHex(fields[8], parsed.record.number2) ||
      !ParseHex(fields[9], parsed.record.number3)) {
    error = "the numbers must be 8, 8 and 4 hex digits";
    return std::nullopt;
  }
  return parsed;
}

bool ReadDumpSource(suite::TextLines& lines, course::RecordTable& table, std::string& error) {
  std::vector<bool> seen(course::kRecordSlots);
  std::string line;
  while (lines.next(line)) {
    auto parsed = ParseDumpLine(line, error);
    if (!parsed) return false;
    if (seen[parsed->slot]) {
      error = "slot " + std::to_string(parsed->slot) + " repeats";
      return false;
    }
    seen[parsed->slot] = true;
    table[parsed->slot] = std::move(parsed->record);
  }
  error = lines.error();
  return error.empty();
}

}  // namespace coursetool
