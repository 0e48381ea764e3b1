// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

namespace desk {

// The real folder of the running program's file, symbolic links resolved, without a
// trailing separator.
inline QString FolderOfRunningProgram() {
  return QCoreApplication::applicationDirPath();
}

}  // namespace desk
