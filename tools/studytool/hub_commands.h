// SPDX-License-Identifier: MIT
// studytool's commands for the class server: joining it with a join code, and synchronising
// the store with it. Each returns the exit status.
#pragma once

#include <iosfwd>
#include <string>

#include "progress_store.h"

namespace studytool {

// Takes this device in with `code` (made by the teacher's "studyhub learner add/code") and
// keeps the link beside the store, which is made when missing. Prints who joined.
int Join(const std::string& code, const std::string& store, const std::string& deviceName,
         std::ostream& out, std::ostream& err);

// Sends what the store has not sent and takes in the learner's other devices' answers:
// "sent N, received M, withdrawn K" (exit 0); the server unreachable or in trouble, exit 3;
// refused or not understood, exit 1; no link or no usable store, exit 2.
int Sync(const std::string& store, std::ostream& out, std::ostream& err);

// The name of this computer, for the teacher's list of devices.
std::string ComputerName();

}  // namespace studytool
