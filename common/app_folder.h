// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include "file_places.h"

namespace desk {

// The real folder of the running program's file, symbolic links resolved, without a
// trailing separator.
inline QString FolderOfRunningProgram() {
  return QCoreApplication::applicationDirPath();
}

// Where the running user's files live, beginning with the running program's folder.
inline suite::FilePlaces PlacesOfRunningProgram() {
  return suite::FilePlaces::ForThisUser(QFile::encodeName(FolderOfRunningProgram()).toStdString());
}

// A path of the file places, as Qt shows it.
inline QString PathText(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace desk
