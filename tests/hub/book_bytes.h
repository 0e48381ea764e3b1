// SPDX-License-Identifier: MIT
// A course file to hand out, written from the texts a learner sees.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace hubtest {

// The bytes of a course file holding these entries from its first slot, each {lesson,
// English, Chinese} in UTF-8 as the chooser and the study programs show them.
std::string BookBytes(const std::vector<std::array<std::string, 3>>& entries);

}  // namespace hubtest
