// SPDX-License-Identifier: MIT
// The link between a learner's store and the class server: the file "study.hub" beside the
// store, written by "studytool join" and read by every sync. It holds the device's token,
// so only its owner may read it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "file_status.h"
#include "sync_messages.h"

namespace studysync {

inline constexpr const char* kHubLinkFileName = "study.hub";

struct HubLink {
  std::string address;  // "host:port", an IPv6 host bracketed
  std::string pin;      // base64 SHA-256 of the server's public key
  std::int64_t learner = 0;
  std::string token;
  std::string number;  // 学号
  std::string name;
  std::string className;
  // The version of each book the class handed out that this device wrote, 0 for none.
  std::array<std::int64_t, kPublishedBooks> books{};
  friend bool operator==(const HubLink&, const HubLink&) = default;
};

// "study.hub" in the folder of the store at `storePath`.
std::string HubLinkPathFor(const std::string& storePath);

// Nothing, with `why` set, when the file cannot be read or is not a link of ours (a missing
// file's `why` starts with "no such file").
std::optional<HubLink> ReadHubLink(const std::string& path, std::string& why);
// Replaces the file whole, readable and writable by its owner alone.
suite::FileStatus WriteHubLink(const std::string& path, const HubLink& link);

}  // namespace studysync
