// SPDX-License-Identifier: MIT
// How long a web panel whose page could not be reached waits before it asks again: two
// seconds after the first failure, twice as long after each further one, never more than
// five minutes; a page that loads starts the count over.
#pragma once

#include <algorithm>

namespace menu {

class RetryDelay {
 public:
  static constexpr int kFirstMilliseconds = 2'000;
  static constexpr int kLongestMilliseconds = 300'000;

  // The wait after one more failure.
  int next() {
    const int delay =
        std::min(kFirstMilliseconds << std::min(failures_, kDoublings), kLongestMilliseconds);
    ++failures_;
    return delay;
  }
  void reset() { failures_ = 0; }

 private:
  static constexpr int kDoublings = 8;  // 2 s * 2^8 is past the longest wait already
  int failures_ = 0;
};

}  // namespace menu
