// SPDX-License-Identifier: MIT
// pickwell, the course chooser.
#include <QApplication>
#include <QIcon>

#include "app_folder.h"
#include "form1.h"
#include "qt_chinese.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  desk::InstallQtChineseTexts(app);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/sun.svg")));
  pickwell::Form1 form(desk::PlacesOfRunningProgram);
  form.Form_Load();
  return QApplication::exec();
}
