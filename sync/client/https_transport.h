// SPDX-License-Identifier: MIT
// One request to the class server over HTTPS, the server known by the public key its
// certificate carries (pinned; no certificate authority is asked).
#pragma once

#include <functional>
#include <string>

namespace studysync {

struct HttpReply {
  enum class Outcome {
    Answered,     // `status` and `body` hold the server's reply
    Unreachable,  // no connection, no TLS with the pinned key, or no reply in time
    TooLarge,     // the reply was longer than a reply may be
  };
  Outcome outcome = Outcome::Unreachable;
  long status = 0;
  std::string body;
  std::string why;  // English, for Unreachable and TooLarge
};

struct HttpsEndpoint {
  std::string address;  // "host:port"
  std::string pin;      // base64 SHA-256 of the server's public key
};

// POSTs `body` (JSON) to `path` on the server; `bearer`, when not empty, goes in the
// Authorization header.
using Post = std::function<HttpReply(const std::string& path, const std::string& body,
                                     const std::string& bearer)>;

// The real thing, over libcurl: a connection within 5 s, the whole exchange within
// `totalSeconds`.
Post HttpsPost(HttpsEndpoint endpoint, long totalSeconds = 120);

}  // namespace studysync
