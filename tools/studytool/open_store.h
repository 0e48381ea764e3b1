// SPDX-License-Identifier: MIT
// Opening the learner's store for a studytool command, every trouble said on `err`.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "progress_store.h"

namespace studytool {

enum class Missing { Refused, Made };

// The store as it is: a missing one is only reported unless `missing` says to make it. To
// read, nothing is changed: the file is opened read-only. Nothing comes back when it cannot
// be used, the reason said.
std::unique_ptr<study::ProgressStore> OpenExisting(const std::string& path, const char* command,
                                                   study::Millis now, std::ostream& err,
                                                   study::StoreAccess access,
                                                   study::OpenResult& result,
                                                   Missing missing = Missing::Refused);

}  // namespace studytool
