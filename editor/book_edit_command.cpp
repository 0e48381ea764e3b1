// SPDX-License-Identifier: MIT
#include "book_edit_command.h"

namespace coursedesk {

BookEditCommand::BookEditCommand(editor::Book& book, editor::Splice splice, const QString& text,
                                 std::size_t focusAfter, std::size_t focusBefore,
                                 std::function<void(std::size_t)> applied)
    : QUndoCommand(text),
      book_(book),
      splice_(std::move(splice)),
      focusAfter_(focusAfter),
      focusBefore_(focusBefore),
      applied_(std::move(applied)) {}

void BookEditCommand::redo() {
  book_.apply(splice_);
  applied_(focusAfter_);
}

void BookEditCommand::undo() {
  book_.apply(splice_.inverse());
  applied_(focusBefore_);
}

}  // namespace coursedesk
