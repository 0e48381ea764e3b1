// SPDX-License-Identifier: MIT
// What synchronising with the class server needs of a learner's store: this device's id,
// what it has not yet sent, a mark for what was sent, and the other devices' items merged
// in with the server's cursor. The progress store is one; tests give others.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "card_store.h"
#include "sync_messages.h"

namespace study {

// What a merge took in that the store did not have: answers and rounds, and withdrawals
// (each applied, whether or not its answer had come).
struct MergeCounts {
  std::int64_t answers = 0;
  std::int64_t withdrawals = 0;
  std::int64_t results = 0;
  friend bool operator==(const MergeCounts&, const MergeCounts&) = default;
};

class SyncStore {
 public:
  virtual ~SyncStore() = default;

  // This device: 32 lowercase hex digits, made once with the store and kept in it.
  virtual const std::string& deviceId() const = 0;
  // This device's own answers, withdrawals and round results not yet sent (at most `limit`
  // of each kind, oldest first), and the day start when it changed since last sent.
  virtual studysync::SyncItems unsent(std::size_t limit, StoreFailure& failure) = 0;
  // Notes `items` (what unsent() gave) as taken by the server.
  virtual bool markSent(const studysync::SyncItems& items, StoreFailure& failure) = 0;
  // Takes in the other devices' items and the server's new cursor, in one transaction: an
  // item already known or withdrawn is left out, a setting wins only when changed later, and
  // each card touched gets the state of replaying its answers in time order.
  virtual std::optional<MergeCounts> merge(const studysync::SyncItems& incoming,
                                           std::int64_t cursor, StoreFailure& failure) = 0;
  // The server's cursor last merged; 0 before the first sync.
  virtual std::int64_t cursor(StoreFailure& failure) = 0;
};

}  // namespace study
