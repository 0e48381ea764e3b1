// SPDX-License-Identifier: MIT
// The studyhub command line: init, serve, make-cert, class add, learner add | code | import |
// list. Messages in English, as the suite's other command-line tools.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace hub {

// Exit status: 0 done, 1 refused or failed, 2 a usage error or a file that cannot be used,
// 3 the database cannot be reached.
int RunStudyhub(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace hub
