// SPDX-License-Identifier: MIT
// The chosen lesson's entries, a row each: 英文, 中文, 词性, 栏目 and 音标. A text longer than
// its column wraps; the rows are sized to their texts once the lesson is shown or a column
// changes width. Only the teacher's own edits are passed on.
#pragma once

#include <QTableWidget>
#include <QTimer>

#include "editing_session.h"

namespace coursedesk {

class EntryTable : public QTableWidget {
  Q_OBJECT

 public:
  explicit EntryTable(QWidget* parent);

  // Shows the entries of `lesson` as `session` has them; none without a lesson.
  void showLesson(const editor::EditingSession& session, const editor::LessonRun* lesson);
  // Puts back the text of a cell whose edit was refused.
  void putBack(int row, int column, const QString& text);

 signals:
  void edited(int row, int column, const QString& text);

 private:
  QTimer* rowSizer_ = nullptr;  // one sizing for any number of changes in a turn
  bool filling_ = false;
};

}  // namespace coursedesk
