// SPDX-License-Identifier: MIT
// A list box whose `chosen` signal fires exactly when the learner picks an item (by mouse,
// also the item already picked, or by keyboard) or when code selects one: once, at once,
// inside the call that made the selection. Taking the keyboard focus picks nothing; a list
// that has it is framed in the highlight colour, so that it is plain to see.
#pragma once

#include <QListWidget>

namespace desk {

class ChoiceList : public QListWidget {
  Q_OBJECT

 public:
  explicit ChoiceList(QWidget* parent);

  // Selects `row` and runs the list's handler before returning, as a click would.
  void selectFromCode(int row);
  // The text of the picked item, or an empty text.
  QString currentText() const;

 signals:
  void chosen();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  bool quiet_ = false;  // a change made by us, not by the learner
};

}  // namespace desk
