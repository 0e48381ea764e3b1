// SPDX-License-Identifier: MIT
#include "pg_array.h"

#include <cstdio>

namespace hub {
namespace {

template <typename Items, typename Write>
std::string Literal(const Items& items, Write write) {
  std::string literal = "{";
  for (const auto& item : items) {
    if (literal.size() > 1) literal += ',';
    write(literal, item);
  }
  literal += '}';
  return literal;
}

}  // namespace

std::string TextArray(const std::vector<std::string_view>& texts) {
  return Literal(texts, [](std::string& out, std::string_view text) {
    // Always quoted, so that "NULL", spaces and braces stay text.
    out += '"';
    for (const char c : text) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += '"';
  });
}

std::string IntegerArray(const std::vector<std::int64_t>& numbers) {
  return Literal(numbers, [](std::string& out, std::int64_t n) { out += std::to_string(n); });
}

std::string RealArray(const std::vector<std::optional<double>>& numbers) {
  return Literal(numbers, [](std::string& out, const std::optional<double>& n) {
    if (!n) {
      out += "NULL";
      return;
    }
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.17g", *n);
    out += digits;
  });
}

}  // namespace hub
