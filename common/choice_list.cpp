// SPDX-License-Identifier: MIT
#include "choice_list.h"

#include <QMouseEvent>
#include <QPainter>

namespace desk {
namespace {

// How wide the frame of the list with the keyboard focus is drawn.
constexpr int kFocusFrameWidth = 2;

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
  viewport()->update();
}

void ChoiceList::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  viewport()->update();
}

void ChoiceList::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(viewport());
  painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusFrameWidth, Qt::SolidLine,
                      Qt::SquareCap, Qt::MiterJoin));
  const qreal inset = kFocusFrameWidth / 2.0;
  painter.drawRect(QRectF(viewport()->rect()).adjusted(inset, inset, -inset, -inset));
}

void ChoiceList::scrollContentsBy(int dx, int dy) {
  QListWidget::scrollContentsBy(dx, dy);
  // Scrolling moves the drawn pixels, the frame with them: it is drawn afresh.
  if (hasFocus()) viewport()->update();
}

void ChoiceList::mousePressEvent(QMouseEvent* event) {
  const int before = currentRow();
  QListWidget::mousePressEvent(event);
  // A click on the item already picked changes no row, yet it is a pick.
  const QListWidgetItem* pressed = itemAt(event->position().toPoint());
  if (pressed && row(pressed) == before && currentRow() == before) emit chosen();
}

}  // namespace desk
