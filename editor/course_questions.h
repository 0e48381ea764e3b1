// SPDX-License-Identifier: MIT
// What the course editor asks the teacher: files, names, unsaved changes, a book someone
// else saved, an import. Standard dialogs by default; tests put answers in their place.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

namespace coursedesk {

class ImportDialog;

// What the teacher may do when the book changed on disk since this window opened it.
enum class ChangedOnDisk { Reload, SaveAs, Cancel };

// What the window asks the teacher, replaceable in tests.
struct Questions {
  // A file to open (forSaving false) or to write; empty when cancelled.
  std::function<QString(const QString& caption, const QString& filter, bool forSaving)> path;
  // A line of text, starting from `text`; empty when cancelled.
  std::function<QString(const QString& caption, const QString& label, const QString& text)> line;
  // Save, Discard or Cancel for unsaved changes.
  std::function<QMessageBox::StandardButton(const QString& text)> unsaved;
  // The book was saved by someone else: reload it, save this one elsewhere, or neither.
  std::function<ChangedOnDisk(const QString& text)> changedOnDisk;
  // True when the teacher accepts the import dialog.
  std::function<bool(ImportDialog& dialog)> import;
  std::function<QString()> clipboard;
};

// The standard dialogs over `parent`, the system clipboard.
Questions StandardQuestions(QWidget* parent);

}  // namespace coursedesk
