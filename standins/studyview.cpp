// SPDX-License-Identifier: MIT
// The hand-off viewer: stands in for a study program and shows which activity it stands
// for and the lesson that the chooser's hand-off file holds.
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <QWidget>

#include "app_folder.h"
#include "chooser_session.h"
#include "failure_text.h"
#include "handoff_lesson.h"
#include "qt_chinese.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  desk::InstallQtChineseTexts(app);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/sun.svg")));
  const QString activity = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("学习程序");
  const std::string handOff = desk::PlacesOfRunningProgram().readPath(chooser::kHandOffFileName);
  const QString path = desk::PathText(handOff);
  const study::HandOffLesson summary = study::LoadHandOff(handOff);

  QWidget window;
  window.setWindowTitle(activity + QStringLiteral(" — ") +
                        (summary.name.empty() ? QStringLiteral("没有选课")
                                              : QString::fromStdU16String(summary.name)));
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(
      QStringLiteral("这里是“%1”学习程序的替身，它显示选课程序交给它的课。").arg(activity)));
  QString state;
  if (!summary.read.ok()) {
    state = QStringLiteral("还没有可用的选课：无法读取“%1”：%2。")
                .arg(path, desk::ReasonText(summary.read.error,
                                            QString::fromStdString(summary.read.reason)));
  } else if (summary.name.empty()) {
    state = QStringLiteral("“%1”里没有选中的课。").arg(path);
  } else {
    state = QStringLiteral("选中的课：%1（%2 个词条）")
                .arg(QString::fromStdU16String(summary.name))
                .arg(summary.entries.size());
  }
  layout->addWidget(new QLabel(state));
  auto* entries = new QListWidget;
  for (const auto& entry : summary.entries) {
    entries->addItem(QString::fromStdU16String(entry.line1));
    entries->addItem(QString::fromStdU16String(entry.line2));
  }
  layout->addWidget(entries);
  window.resize(420, 480);
  window.show();
  return QApplication::exec();
}
