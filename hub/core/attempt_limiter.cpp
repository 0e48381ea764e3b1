// SPDX-License-Identifier: MIT
#include "attempt_limiter.h"

namespace hub {

AttemptLimiter::AttemptLimiter(std::size_t tries, std::chrono::seconds window,
                               std::size_t mostAddresses)
    : tries_(tries), window_(window), mostAddresses_(mostAddresses) {}

std::chrono::seconds AttemptLimiter::waitFor(const std::string& address, Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  const auto found = failures_.find(address);
  if (found == failures_.end()) return std::chrono::seconds(0);
  auto& times = found->second;
  while (!times.empty() && times.front() + window_ <= now) times.pop_front();
  if (times.size() < tries_) return std::chrono::seconds(0);
  const auto left = times.front() + window_ - now;
  // Rounded up, so that a client waiting that long is let in.
  return std::chrono::ceil<std::chrono::seconds>(left);
}

void AttemptLimiter::failed(const std::string& address, Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  if (failures_.size() >= mostAddresses_) forgetOld(now);
  auto& times = failures_[address];
  times.push_back(now);
  // More than `tries_` in the window changes nothing: keep the memory bounded.
  while (times.size() > tries_) times.pop_front();
}

void AttemptLimiter::forgetOld(Clock::time_point now) {
  std::erase_if(failures_, [&](const auto& entry) {
    return entry.second.empty() || entry.second.back() + window_ <= now;
  });
  // Still full of addresses guessing right now: the map is bounded before all else.
  if (failures_.size() >= mostAddresses_) failures_.clear();
}

}  // namespace hub
