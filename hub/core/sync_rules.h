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

// A join request's texts must be storable too (no NUL in the device's name).
RequestCheck CheckJoinRequest(const studysync::JoinRequest& request);

// One setting per name: the latest change among those sent (ties to the larger value, the
// same rule the store applies against what it holds).
std::vector<studysync::SyncSetting> LatestSettings(std::vector<studysync::SyncSetting> settings);

// An item of a reply's page: its number and about how many bytes it takes in the reply.
struct PageItem {
  std::int64_t number = 0;
  std::size_t bytes = 0;
};

// Where the reply's page ends: at the smallest number at which one kind fills its page
// (`items` holds, per kind, what was fetched in number order with a limit of page + 1), and
// earlier when the items up to there, taken in number order, would hold more than
// `mostBytes`, so that every reply stays within what a device takes in. Nothing when it all
// fits.
std::optional<std::int64_t> PageEnd(const std::vector<std::vector<PageItem>>& items,
                                    std::size_t page, std::size_t mostBytes);

}  // namespace hub
