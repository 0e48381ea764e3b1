// SPDX-License-Identifier: MIT
#include "choice_list.h"

#include <QMouseEvent>

namespace desk {
namespace {

class QuietScope {
 public:
  explicit QuietScope(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~QuietScope() { flag_ = was_; }
  QuietScope(const QuietScope&) = delete;
  QuietScope& operator=(const QuietScope&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

ChoiceList::ChoiceList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!quiet_ && row >= 0) emit chosen();
  });
}

void ChoiceList::selectFromCode(int row) {
  {
    QuietScope quiet(quiet_);
    setCurrentRow(row);
  }
  emit chosen();
}

QString ChoiceList::currentText() const {
  // The current item: a pick makes it current before Qt marks it selected.
  const QListWidgetItem* item = currentItem();
  return item ? item->text() : QString();
}

void ChoiceList::focusInEvent(QFocusEvent* event) {
  // Qt makes the first row current when a list without one takes the focus.
  QuietScope quiet(quiet_);
  QListWidget::focusInEvent(event);
}

void ChoiceList::mousePressEvent(QMouseEvent* event) {
  const int before = currentRow();
  QListWidget::mousePressEvent(event);
  // A click on the item already picked changes no row, yet it is a pick.
  const QListWidgetItem* pressed = itemAt(event->position().toPoint());
  if (pressed && row(pressed) == before && currentRow() == before) emit chosen();
}

}  // namespace desk
