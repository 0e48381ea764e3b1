// SPDX-License-Identifier: MIT
// lumadesk, the menu of the study suite.
#include <QApplication>
#include <QIcon>

#include "app_folder.h"
#include "form1.h"
#include "qt_chinese.h"
#include "site.h"
#include "web_engine_setup.h"

int main(int argc, char** argv) {
  lumadesk::PrepareWebEngine();
  QApplication app(argc, argv);
  desk::InstallQtChineseTexts(app);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/sun.svg")));
  lumadesk::Form1 form(desk::FolderOfRunningProgram, desk::WebAddress());
  form.Form_Load();
  form.showAtStartPosition();
  return QApplication::exec();
}
