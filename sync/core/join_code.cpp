// SPDX-License-Identifier: MIT
#include "join_code.h"

#include <charconv>

namespace studysync {
namespace {

constexpr std::string_view kSpaces = " \t\r\n";

bool AllOf(std::string_view text, std::string_view allowed) {
  return text.find_first_not_of(allowed) == std::string_view::npos;
}

constexpr std::string_view kBase64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
constexpr std::string_view kBase64Url =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

}  // namespace

std::string FormatJoinCode(const JoinCode& code) {
  const bool bracket = code.host.find(':') != std::string::npos;
  std::string text;
  if (bracket) text.push_back('[');
  text.append(code.host);
  if (bracket) text.push_back(']');
  text.append(":").append(std::to_string(code.port));
  text.append("/").append(code.pin).append("/").append(code.secret);
  return text;
}

std::optional<JoinCode> ParseJoinCode(std::string_view text, std::string& why) {
  const auto first = text.find_first_not_of(kSpaces);
  text = first == std::string_view::npos
             ? std::string_view()
             : text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
  // The pin is base64, which may itself hold '/': it is known by its fixed length.
  constexpr std::size_t kPinChars = 44;
  const auto secretAt = text.rfind('/');
  const auto pinAt = secretAt == std::string_view::npos || secretAt <= kPinChars
                         ? std::string_view::npos
                         : secretAt - kPinChars - 1;
  if (pinAt == std::string_view::npos || text[pinAt] != '/') {
    why = "a join code reads HOST:PORT/PIN/SECRET";
    return std::nullopt;
  }
  JoinCode code;
  code.pin = std::string(text.substr(pinAt + 1, secretAt - pinAt - 1));
  code.secret = std::string(text.substr(secretAt + 1));
  if (code.pin.size() != kPinChars || !AllOf(code.pin, kBase64) || code.pin.back() != '=') {
    why = "the code's certificate fingerprint is not 44 characters of base64";
    return std::nullopt;
  }
  if (code.secret.size() < 22 || code.secret.size() > 128 || !AllOf(code.secret, kBase64Url)) {
    why = "the code's secret is not base64url of at least 22 characters";
    return std::nullopt;
  }
  const std::string_view address = text.substr(0, pinAt);
  const auto colon = address.rfind(':');
  if (colon == std::string_view::npos || colon == 0) {
    why = "the code's address has no port";
    return std::nullopt;
  }
  std::string_view host = address.substr(0, colon);
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') {
      why = "the code's address has an unclosed [";
      return std::nullopt;
    }
    host = host.substr(1, host.size() - 2);
  }
  const std::string_view port = address.substr(colon + 1);
  const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), code.port);
  if (error != std::errc() || end != port.data() + port.size() || code.port < 1 ||
      code.port > 65535) {
    why = "the code's port is not a number from 1 to 65535";
    return std::nullopt;
  }
  if (!AllOf(host, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:")) {
    why = "the code's host is not a name or an address";
    return std::nullopt;
  }
  code.host = std::string(host);
  return code;
}

}  // namespace studysync
