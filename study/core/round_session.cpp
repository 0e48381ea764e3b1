// SPDX-License-Identifier: MIT
#include "round_session.h"

#include <algorithm>
#include <random>

namespace study {

std::vector<Entry> RoundOrder(std::vector<Entry> entries, bool shuffled, std::uint32_t seed) {
  if (shuffled) std::shuffle(entries.begin(), entries.end(), std::mt19937(seed));
  return entries;
}

RoundSeeds::Round RoundSeeds::next(const std::vector<Entry>& entries) {
  const std::uint32_t seed = seed_++;
  return {RoundOrder(entries, shuffled_, seed), seed};
}

}  // namespace study
