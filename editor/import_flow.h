// SPDX-License-Identifier: MIT
// Importing into the book a window edits: from a file the teacher picks, from the
// clipboard, or from given bytes or text, through the import dialog. Gives the edit that
// adds what the teacher accepted; the status line says what was imported or why nothing was.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "course_questions.h"
#include "editing_session.h"
#include "import_reader.h"
#include "status_line.h"

namespace coursedesk {

class ImportFlow {
 public:
  // `parent` holds the dialog.
  ImportFlow(Questions& questions, const editor::EditingSession& session, StatusLine& status,
             QWidget* parent);

  // Each imports into a new lesson or into the lesson at list row `lesson`, as the teacher
  // chooses in the dialog.
  std::optional<editor::Edit> fromFile(int lesson);
  std::optional<editor::Edit> fromClipboard(int lesson);
  std::optional<editor::Edit> fromBytes(const QByteArray& bytes, const QString& source,
                                        const QString& suggestedName, int lesson);
  std::optional<editor::Edit> fromText(const QString& text, int lesson);

 private:
  std::optional<editor::Edit> run(editor::ImportSource source, const QString& sourceName,
                                  const QString& suggestedName, int lesson);

  Questions& questions_;
  const editor::EditingSession& session_;
  StatusLine& status_;
  QWidget* parent_;
};

}  // namespace coursedesk
