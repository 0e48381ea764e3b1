// SPDX-License-Identifier: MIT
// A join code, handed to a learner on paper or in a message: where the class server is,
// the fingerprint of its certificate's public key (the device pins it, so no certificate
// authority is needed) and a one-time secret.
//
//   HOST:PORT/PIN/SECRET      e.g. 192.168.1.20:8443/q5Jv...Yc=/K7Q2...
//
// PIN is base64 of the SHA-256 of the certificate's DER public key (what curl's
// "sha256//" pin takes), SECRET is base64url without padding. An IPv6 host is bracketed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace studysync {

struct JoinCode {
  std::string host;
  int port = 0;
  std::string pin;     // base64, 44 characters
  std::string secret;  // base64url, at least 22 characters
  friend bool operator==(const JoinCode&, const JoinCode&) = default;
};

std::string FormatJoinCode(const JoinCode& code);
// Nothing, with `why` set, for text that is not a join code; spaces around it are ignored.
std::optional<JoinCode> ParseJoinCode(std::string_view text, std::string& why);

}  // namespace studysync
