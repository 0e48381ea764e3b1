// SPDX-License-Identifier: MIT
// Whether the zone TZ names is one the system knows: the C library counts a name it cannot
// find in UTC without a word, so the programs say so themselves.
#pragma once

#include <optional>
#include <string>

namespace study {

// TZ's value when it names neither a zone file nor a POSIX rule such as "CST-8"; nothing
// when TZ is unset, empty, or known.
std::optional<std::string> UnknownZone();

}  // namespace study
