// SPDX-License-Identifier: MIT
// Why a file or program operation failed, in words a learner reads.
#pragma once

#include <QString>

namespace desk {

// A short Chinese reason for a system error number; `fallback` (the system's own words)
// for the rare ones without a translation.
QString ReasonText(int error, const QString& fallback);

}  // namespace desk
