// SPDX-License-Identifier: MIT
#include "course_menus.h"

#include <QMenuBar>
#include <utility>

#include "course_window.h"
#include "fixed_names.h"

namespace coursedesk {
namespace {

QAction* Command(CourseWindow& window, QMenu* menu, const QString& text, const QKeySequence& key,
                 void (CourseWindow::*command)()) {
  QAction* action = menu->addAction(text);
  action->setShortcut(key);
  QObject::connect(action, &QAction::triggered, &window, command);
  return action;
}

void AddFileMenu(CourseWindow& w) {
  QMenu* file = w.menuBar()->addMenu(QStringLiteral("文件(&F)"));
  for (int i = 0; i < static_cast<int>(course::kBooks.size()); ++i) {
    QAction* open = file->addAction(
        QStringLiteral("打开%1(&%2)")
            .arg(QString::fromUtf8(course::kBooks[static_cast<std::size_t>(i)].title))
            .arg(i + 1));
    open->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
    QObject::connect(open, &QAction::triggered, &w, [&w, i] { w.openBook(i); });
  }
  Command(w, file, QStringLiteral("打开课程文件(&O)…"), QKeySequence::Open,
          &CourseWindow::openFileAsked);
  file->addSeparator();
  w.saveAction = file->addAction(QStringLiteral("保存(&S)"));
  w.saveAction->setShortcut(QKeySequence::Save);
  QObject::connect(w.saveAction, &QAction::triggered, &w, &CourseWindow::save);
  w.saveAsAction = Command(w, file, QStringLiteral("另存为(&A)…"), QKeySequence::SaveAs,
                           &CourseWindow::saveAsAsked);
  w.exportLessonAction =
      Command(w, file, QStringLiteral("把这一课导出为 CSV(&E)…"), {}, &CourseWindow::exportLesson);
  w.exportBookAction =
      Command(w, file, QStringLiteral("把整册导出为 CSV(&B)…"), {}, &CourseWindow::exportBook);
  file->addSeparator();
  w.publishAction =
      Command(w, file, QStringLiteral("发布到班级(&P)…"), {}, &CourseWindow::publishAsked);
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("退出(&Q)"));
  quit->setShortcut(QKeySequence::Quit);
  QObject::connect(quit, &QAction::triggered, &w, &QWidget::close);
}

void AddEditMenu(CourseWindow& w) {
  QMenu* edit = w.menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  w.undoAction = w.undoStack->createUndoAction(&w, QStringLiteral("撤销"));
  w.undoAction->setShortcut(QKeySequence::Undo);
  w.redoAction = w.undoStack->createRedoAction(&w, QStringLiteral("重做"));
  w.redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
  edit->addAction(w.undoAction);
  edit->addAction(w.redoAction);
  // What the status line said was about the book before the step taken back or again.
  for (QAction* step : {w.undoAction, w.redoAction}) {
    QObject::connect(step, &QAction::triggered, &w, [&w] { w.statusLine->tell({}, false); });
  }
  edit->addSeparator();
  w.addEntryAction = Command(w, edit, QStringLiteral("添加词条(&N)"),
                             QKeySequence(Qt::CTRL | Qt::Key_N), &CourseWindow::addEntry);
  w.removeEntryAction =
      Command(w, edit, QStringLiteral("删除词条(&D)"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
              &CourseWindow::removeEntry);
  w.entryUpAction = Command(w, edit, QStringLiteral("词条上移(&U)"),
                            QKeySequence(Qt::ALT | Qt::Key_Up), &CourseWindow::moveEntryUp);
  w.entryDownAction = Command(w, edit, QStringLiteral("词条下移(&W)"),
                              QKeySequence(Qt::ALT | Qt::Key_Down), &CourseWindow::moveEntryDown);
}

void AddLessonMenu(CourseWindow& w) {
  QMenu* lessons = w.menuBar()->addMenu(QStringLiteral("课(&L)"));
  w.addLessonAction =
      Command(w, lessons, QStringLiteral("新建课(&N)…"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), &CourseWindow::addLesson);
  w.renameLessonAction = Command(w, lessons, QStringLiteral("重命名课(&R)…"),
                                 QKeySequence(Qt::CTRL | Qt::Key_R), &CourseWindow::renameLesson);
  w.removeLessonAction =
      Command(w, lessons, QStringLiteral("删除课(&D)"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete), &CourseWindow::removeLesson);
  w.lessonUpAction =
      Command(w, lessons, QStringLiteral("课上移(&U)"),
              QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Up), &CourseWindow::moveLessonUp);
  w.lessonDownAction =
      Command(w, lessons, QStringLiteral("课下移(&W)"),
              QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Down), &CourseWindow::moveLessonDown);
}

void AddImportMenu(CourseWindow& w) {
  QMenu* import = w.menuBar()->addMenu(QStringLiteral("导入(&I)"));
  w.importFileAction = Command(w, import, QStringLiteral("从文件导入(&F)…"),
                               QKeySequence(Qt::CTRL | Qt::Key_I), &CourseWindow::importFileAsked);
  w.importClipboardAction =
      Command(w, import, QStringLiteral("从剪贴板导入(&C)…"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), &CourseWindow::importClipboard);
}

}  // namespace

void AddCourseMenus(CourseWindow& window) {
  AddFileMenu(window);
  AddEditMenu(window);
  AddLessonMenu(window);
  AddImportMenu(window);
  // F7 and F6 go straight to the findings and the preview.
  for (const auto& [key, page] : {std::pair{Qt::Key_F7, &CheckAndPreview::focusFindings},
                                  std::pair{Qt::Key_F6, &CheckAndPreview::focusPreview}}) {
    auto* go = new QAction(&window);
    go->setShortcut(key);
    QObject::connect(go, &QAction::triggered, window.checkAndPreview, page);
    window.addAction(go);
  }
}

}  // namespace coursedesk
