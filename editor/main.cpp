// SPDX-License-Identifier: MIT
// coursedesk, 课程编辑: the teacher's course editor. "coursedesk FILE" opens a course file;
// without one it opens the first book by the folder rule.
#include <QApplication>
#include <QIcon>

#include "app_folder.h"
#include "course_window.h"
#include "qt_chinese.h"
#include "window_placement.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  desk::InstallQtChineseTexts(app);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/sun.svg")));
  coursedesk::CourseWindow window(desk::PlacesOfRunningProgram());
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    window.openFile(arguments.at(1));
  } else {
    window.openBook(0);
  }
  desk::ShowCentred(&window);
  return QApplication::exec();
}
