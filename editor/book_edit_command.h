// SPDX-License-Identifier: MIT
// One edit of the book on the undo stack: a splice, its inverse for undo, the changes to
// the phonetics beside the book that go with it, and the record the window shows
// afterwards either way.
#pragma once

#include <QUndoCommand>
#include <functional>

#include "book.h"
#include "phonetics_changes.h"

namespace coursedesk {

class BookEditCommand : public QUndoCommand {
 public:
  // `applied` runs after every redo and undo with the record to show.
  BookEditCommand(editor::Book& book, editor::Splice splice, const QString& text,
                  std::size_t focusAfter, std::size_t focusBefore,
                  std::function<void(std::size_t)> applied,
                  course::PhoneticsTable* phonetics = nullptr,
                  std::vector<editor::PhoneticsChange> changes = {});

  void redo() override;
  void undo() override;

 private:
  editor::Book& book_;
  editor::Splice splice_;
  std::size_t focusAfter_;
  std::size_t focusBefore_;
  std::function<void(std::size_t)> applied_;
  course::PhoneticsTable* phonetics_;
  std::vector<editor::PhoneticsChange> changes_;
};

}  // namespace coursedesk
