// SPDX-License-Identifier: MIT
// 课程编辑: one book at a time, its lessons in a list, the chosen lesson's entries in a table;
// every edit undoable; imports, checks, the chooser's view of the lesson, saving by the
// folder rule. A thin layer over the editor's core.
#pragma once

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <functional>

#include "book.h"
#include "book_file.h"
#include "course_questions.h"
#include "editing_session.h"
#include "file_places.h"
#include "import_reader.h"
#include "import_table.h"
#include "phonetics_changes.h"

namespace coursedesk {

class CourseWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit CourseWindow(suite::FilePlaces places);

  // The standard dialogs, the system clipboard.
  Questions questions;

  // One of the suite's four books (0 to 3) by the folder rule, or any course file.
  void openBook(int index);
  void openFile(const QString& path);
  // Saves where the book belongs; false (and the reason shown) when it cannot, or when the
  // file was changed by someone else since it was opened and the teacher did not save it
  // elsewhere.
  bool save();
  // Writes a copy; `written`, when given, gets the new file's identity.
  bool saveAs(const QString& path, suite::FileIdentity* written = nullptr);
  // Imports the bytes of a file, or pasted text, through the import dialog.
  void importBytes(const QByteArray& bytes, const QString& source, const QString& suggestedName);
  void importText(const QString& text);

  const editor::Book& book() const { return session_.book(); }
  // The phonetics of the book's folder as edited, by English word.
  const course::PhoneticsTable& phonetics() const { return session_.phonetics(); }
  int currentLesson() const { return lessonList->currentRow(); }

  QListWidget* lessonList = nullptr;
  QTableWidget* entryTable = nullptr;
  QListWidget* findingList = nullptr;  // 检查: each finding, Enter jumps to it
  QLabel* findingDetail = nullptr;     // the chosen finding in full, wrapped
  QLabel* previewNote = nullptr;       // whether the chooser lists the lesson
  QListWidget* previewList = nullptr;  // the lesson as the chooser shows it
  QLabel* statusLine = nullptr;        // where the book was saved, or what went wrong
  QUndoStack* undoStack = nullptr;

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
  void buildMenus();
  QAction* addCommand(QMenu* menu, const QString& text, const QKeySequence& key,
                      void (CourseWindow::*slot)());
  void setBook(editor::OpenedBook opened, editor::BookLocation location, const QString& title);
  void load(editor::BookLocation location, const QString& title);
  bool mayLeaveBook();
  bool saveOverChangedBook(const std::string& path);
  bool saveElsewhere();
  void push(std::optional<editor::Edit> edit, const QString& text);
  // Pushes the outcome's edit, or tells `refused` with why and puts `item` back to `shown`.
  void pushOrRefuse(editor::EditOutcome outcome, const QString& text, const QString& refused,
                    QTableWidgetItem* item = nullptr, const QString& shown = {});
  // Tells that the phonetics were not kept beside the book (after `saved`); false then.
  bool phoneticsKept(const editor::SaveOutcome& outcome, const QString& saved);
  void editPhonetics(QTableWidgetItem* item, std::size_t record);
  void showRecord(std::size_t record);
  void showLesson(int lesson);
  void refreshChecks();
  void refreshPreview();
  void tell(const QString& text, bool trouble);
  const editor::LessonRun* lesson() const;

  void cellEdited(QTableWidgetItem* item);
  void openFileAsked();
  void saveAsAsked();
  void exportLesson();
  void exportBook();
  void exportCsv(const std::string& csv, const QString& suggested);
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
  void runImport(editor::ImportSource source, const QString& sourceName,
                 const QString& suggestedName);
  void jumpToFinding(QListWidgetItem* item);

  editor::EditingSession session_;
  QString title_;
  QTimer* rowSizer_ = nullptr;  // sizes the entry rows to their wrapped texts
  bool filling_ = false;
};

}  // namespace coursedesk
