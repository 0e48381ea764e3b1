// SPDX-License-Identifier: MIT
// Synchronising behind a study window: "studytool sync STORE" started on its own, so that
// the learner never waits for the network, and only for a store linked to a class server.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace studysync {

// Starts `program` with `arguments` without waiting for it; false when it could not start.
using Launch =
    std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;

// Launches `studytool` to synchronise the store at `storePath` when a link lies beside it;
// false when there is none or the launch failed.
bool StartBackgroundSync(const std::string& storePath, const std::string& studytool,
                         const Launch& launch);

}  // namespace studysync
