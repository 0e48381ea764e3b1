// SPDX-License-Identifier: MIT
// The files of the book a window edits: opening one of the suite's books or any course file,
// asking before unsaved changes are left, saving by the folder rule (and what the teacher
// may do when someone else saved the file meanwhile), copies, and CSV exports. The status
// line says what became of each.
#pragma once

#include <QObject>
#include <QUndoStack>

#include "course_questions.h"
#include "editing_session.h"
#include "status_line.h"

namespace coursedesk {

class BookFiles : public QObject {
  Q_OBJECT

 public:
  // `undo` is clean exactly when the book is as saved.
  BookFiles(editor::EditingSession& session, Questions& questions, QUndoStack& undo,
            StatusLine& status);

  // The book's title: the suite's name for it, or the file's name.
  const QString& title() const { return title_; }

  // One of the suite's four books (0 to 3) by the folder rule, or any course file; each
  // after asking about unsaved changes.
  void openBook(int index);
  void openFile(const QString& path);
  void openFileAsked();
  // True when the book may be left: nothing unsaved, or the teacher saved or discarded it.
  bool mayLeaveBook();
  bool save();
  bool saveAs(const QString& path, suite::FileIdentity* written = nullptr);
  void saveAsAsked();
  void exportCsv(const std::string& csv, const QString& suggested);

 signals:
  // A book was opened and is to be shown from its start.
  void opened();
  // The book goes on under another title.
  void retitled();

 private:
  void load(editor::BookLocation location, const QString& title);
  bool saveOverChangedBook(const std::string& path);
  bool saveElsewhere();
  // Tells that the phonetics were not kept beside the book (after `saved`); false then.
  bool phoneticsKept(const editor::SaveOutcome& outcome, const QString& saved);

  editor::EditingSession& session_;
  Questions& questions_;
  QUndoStack& undo_;
  StatusLine& status_;
  QString title_;
};

}  // namespace coursedesk
