// SPDX-License-Identifier: MIT
// studytool's commands, each returning the exit status.
#pragma once

#include <iosfwd>

namespace studytool {

// Replays the log read from `in` through the scheduler: one line out per answer. Stops at
// the first bad line, naming it and the reason on `err` (exit 1).
int Replay(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace studytool
