// SPDX-License-Identifier: MIT
// studydesk, the study programs: "studydesk learn" is 课文初记, "studydesk review" is 复习回忆.
#include <QApplication>
#include <QIcon>
#include <cstring>
#include <iostream>

#include "app_folder.h"
#include "learn_window.h"
#include "qt_chinese.h"
#include "review_window.h"

namespace {

template <typename Window>
int Run() {
  Window window(desk::PlacesOfRunningProgram(), studydesk::Now);
  window.show();
  window.start();
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  desk::InstallQtChineseTexts(app);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/sun.svg")));
  const char* activity = argc > 1 ? argv[1] : "";
  if (std::strcmp(activity, "learn") == 0) return Run<studydesk::LearnWindow>();
  if (std::strcmp(activity, "review") == 0) return Run<studydesk::ReviewWindow>();
  std::cerr << "usage: studydesk learn|review\n";
  return 2;
}
