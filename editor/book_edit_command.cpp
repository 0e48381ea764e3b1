// SPDX-License-Identifier: MIT
#include "book_edit_command.h"

namespace coursedesk {

BookEditCommand::BookEditCommand(editor::Book& book, editor::Splice splice, const QString& text,
                                 std::size_t focusAfter, std::size_t focusBefore,
                                 std::function<void(std::size_t)> applied,
                                 course::PhoneticsTable* phonetics,
                                 std::vector<editor::PhoneticsChange> changes)
    : QUndoCommand(text),
      book_(book),
      splice_(std::move(splice)),
      focusAfter_(focusAfter),
      focusBefore_(focusBefore),
      applied_(std::move(applied)),
      phonetics_(phonetics),
      changes_(std::move(changes)) {}

void BookEditCommand::redo() {
  book_.apply(splice_);
  // The window let only changes the table can hold through.
  if (phonetics_) editor::MakeChanges(*phonetics_, changes_);
  applied_(focusAfter_);
}

void BookEditCommand::undo() {
  book_.apply(splice_.inverse());
  if (phonetics_) editor::TakeBackChanges(*phonetics_, changes_);
  applied_(focusBefore_);
}

}  // namespace coursedesk
