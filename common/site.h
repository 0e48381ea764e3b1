// SPDX-License-Identifier: MIT
// The maker's web address, set when the suite is built.
#pragma once

#include <QString>

namespace desk {

inline QString WebAddress() {
  return QStringLiteral(SUITE_WEB_ADDRESS);
}

}  // namespace desk
