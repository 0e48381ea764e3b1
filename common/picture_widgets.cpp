// SPDX-License-Identifier: MIT
#include "picture_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace desk {

PictureButton::PictureButton(const QString& picture, QWidget* parent)
    : FormButton(QString(), parent), picture_(picture), renderer_(picture) {}

void PictureButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButtonBevel, option);
  QRectF face(QPointF(0, 0), renderer_.defaultSize());
  face.moveCenter(QRectF(rect()).center());
  if (isDown()) face.translate(1, 1);
  renderer_.render(&painter, face);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

PictureBox::PictureBox(const QString& picture, QWidget* parent)
    : QWidget(parent), renderer_(picture) {
  renderer_.setAspectRatioMode(Qt::IgnoreAspectRatio);
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  renderer_.render(&painter, QRectF(rect()));
}

MarkerBox::MarkerBox(const QColor& colour, QWidget* parent) : QWidget(parent) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, colour);
  setPalette(palette);
  setAutoFillBackground(true);
  setMouseTracking(true);
}

void MarkerBox::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
}

}  // namespace desk
