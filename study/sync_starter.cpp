// SPDX-License-Identifier: MIT
#include "sync_starter.h"

#include <QFile>
#include <QProcess>

#include "app_folder.h"

namespace studydesk {

namespace {

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  QProcess process;
  process.setProgram(QFile::decodeName(QByteArray::fromStdString(program)));
  QStringList list;
  for (const std::string& argument : arguments) {
    list << QFile::decodeName(QByteArray::fromStdString(argument));
  }
  process.setArguments(list);
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  return process.startDetached();
}

}  // namespace

SyncStarter& WindowSyncStarter() {
  static SyncStarter starter{
      QFile::encodeName(desk::FolderOfRunningProgram() + QStringLiteral("/studytool"))
          .toStdString(),
      StartDetached};
  return starter;
}

}  // namespace studydesk
