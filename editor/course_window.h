// SPDX-License-Identifier: MIT
// 课程编辑: one book at a time, its lessons in a list, the chosen lesson's entries in a table,
// the checks and the chooser's view of the lesson beside them; every edit undoable. Lays the
// parts out and forwards each command to the editing session, the book's files or the
// import.
#pragma once

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QUndoStack>

#include "book_files.h"
#include "check_and_preview.h"
#include "course_questions.h"
#include "editing_session.h"
#include "entry_table.h"
#include "file_places.h"
#include "import_flow.h"
#include "publish_dialog.h"
#include "status_line.h"

namespace coursedesk {

class CourseWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit CourseWindow(suite::FilePlaces places);

  // The standard dialogs, the system clipboard.
  Questions questions;

  // One of the suite's four books (0 to 3) by the folder rule, or any course file.
  void openBook(int index) { files_.openBook(index); }
  void openFile(const QString& path) { files_.openFile(path); }
  // Saves where the book belongs; false (and the reason shown) when it cannot, or when the
  // file was changed by someone else since it was opened and the teacher did not save it
  // elsewhere.
  bool save() { return files_.save(); }
  // Writes a copy; `written`, when given, gets the new file's identity.
  bool saveAs(const QString& path, suite::FileIdentity* written = nullptr) {
    return files_.saveAs(path, written);
  }
  // Imports the bytes of a file, or pasted text, through the import dialog.
  void importBytes(const QByteArray& bytes, const QString& source, const QString& suggestedName);
  void importText(const QString& text);

  const editor::Book& book() const { return session_.book(); }
  // The phonetics of the book's folder as edited, by English word.
  const course::PhoneticsTable& phonetics() const { return session_.phonetics(); }
  int currentLesson() const { return lessonList->currentRow(); }

  // The menus' commands.
  void openFileAsked() { files_.openFileAsked(); }
  void saveAsAsked() { files_.saveAsAsked(); }
  void exportLesson();
  void exportBook();
  void addEntry();
  void removeEntry();
  void moveEntryUp();
  void moveEntryDown();
  void addLesson();
  void renameLesson();
  void removeLesson();
  void moveLessonUp();
  void moveLessonDown();
  void importFileAsked();
  void importClipboard();
  // 发布到班级: the dialog, window-modal; the window stays usable while it waits.
  void publishAsked();

  StatusLine* statusLine = nullptr;  // where the book was saved, or what went wrong
  QUndoStack* undoStack = nullptr;
  QListWidget* lessonList = nullptr;
  EntryTable* entryTable = nullptr;
  CheckAndPreview* checkAndPreview = nullptr;
  QListWidget* findingList = nullptr;  // 检查: each finding, Enter jumps to it
  QLabel* findingDetail = nullptr;     // the chosen finding in full, wrapped
  QListWidget* previewList = nullptr;  // the lesson as the chooser shows it

  QPointer<PublishDialog> publishDialog;  // while it is open
  QAction* publishAction = nullptr;
  QAction* saveAction = nullptr;
  QAction* saveAsAction = nullptr;
  QAction* exportLessonAction = nullptr;
  QAction* exportBookAction = nullptr;
  QAction* undoAction = nullptr;
  QAction* redoAction = nullptr;
  QAction* addEntryAction = nullptr;
  QAction* removeEntryAction = nullptr;
  QAction* entryUpAction = nullptr;
  QAction* entryDownAction = nullptr;
  QAction* addLessonAction = nullptr;
  QAction* renameLessonAction = nullptr;
  QAction* removeLessonAction = nullptr;
  QAction* lessonUpAction = nullptr;
  QAction* lessonDownAction = nullptr;
  QAction* importFileAction = nullptr;
  QAction* importClipboardAction = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void push(std::optional<editor::Edit> edit, const QString& text);
  // Pushes the outcome's edit, or tells `refused` with why; false then.
  bool pushOrRefuse(editor::EditOutcome outcome, const QString& text, const QString& refused);
  void showRecord(std::size_t record);
  void showLesson(int lesson);
  void jumpTo(std::size_t record, int column);
  void cellEdited(int row, int column, const QString& text);
  const editor::LessonRun* lesson() const { return session_.lessonAt(currentLesson()); }

  editor::EditingSession session_;
  BookFiles files_;
  ImportFlow imports_;
};

}  // namespace coursedesk
