// SPDX-License-Identifier: MIT
// What the server decides about a sync without the database: whose items a request may
// carry, which of its settings count, and where a page of the reply ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sync_messages.h"

namespace hub {

enum class RequestVerdict { Accepted, Malformed, Forbidden };

struct RequestCheck {
  RequestVerdict verdict = RequestVerdict::Accepted;
  std::string why;
};

// A request of the device `device` of learner `learner`: it must name that learner and that
// device, and carry only that device's own items; texts must be storable (no NUL).
RequestCheck CheckSyncRequest(const studysync::SyncRequest& request, std::int64_t learner,
                              const std::string& device);

// One setting per name: the latest change among those sent (ties to the larger value, the
// same rule the store applies against what it holds).
std::vector<studysync::SyncSetting> LatestSettings(std::vector<studysync::SyncSetting> settings);

// The reply's page ends at the smallest number at which one kind fills its page: `numbers`
// holds, per kind, the numbers fetched in order with a limit of page + 1. Nothing when no
// kind has more than a page.
std::optional<std::int64_t> PageEnd(const std::vector<std::vector<std::int64_t>>& numbers,
                                    std::size_t page);

}  // namespace hub
