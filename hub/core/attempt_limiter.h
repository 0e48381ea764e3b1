// SPDX-License-Identifier: MIT
// Slows down guessing: an address that gave too many wrong secrets within a window is
// refused until the oldest of them has aged out of it.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace hub {

class AttemptLimiter {
 public:
  using Clock = std::chrono::steady_clock;

  AttemptLimiter(std::size_t tries, std::chrono::seconds window,
                 std::size_t mostAddresses = 100000);

  // How long `address` must still wait; zero when it may try now.
  std::chrono::seconds waitFor(const std::string& address, Clock::time_point now);
  // Counts a wrong secret from `address`.
  void failed(const std::string& address, Clock::time_point now);

 private:
  void forgetOld(Clock::time_point now);

  std::size_t tries_;
  std::chrono::seconds window_;
  std::size_t mostAddresses_;
  std::mutex mutex_;
  std::unordered_map<std::string, std::deque<Clock::time_point>> failures_;
};

}  // namespace hub
