// SPDX-License-Identifier: MIT
// A device joining with a one-time secret, and a device's sync: its items stored once each,
// numbered per learner, and a page of what the learner's other devices stored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "database.h"
#include "sync_messages.h"

namespace hub {

struct DeviceOfToken {
  std::int64_t learner = 0;
  std::string device;
};

// The device a token was given to, if any.
std::optional<DeviceOfToken> FindDevice(Database& database, const std::string& token);

// The new device's reply (its token), or nothing when the secret is unknown, used or expired.
std::optional<studysync::JoinReply> Join(Database& database, const studysync::JoinRequest& request);

// Stores the request's items (already checked to be the device's own) and answers with a
// page of the other devices' items after request.since, in one transaction that holds the
// learner's row: a learner's syncs take turns, so numbers are committed in their order.
studysync::SyncReply Sync(Database& database, const DeviceOfToken& device,
                          const studysync::SyncRequest& request);

}  // namespace hub
