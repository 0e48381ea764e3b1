// SPDX-License-Identifier: MIT
// Controls that show a picture drawn from its SVG source at the screen's own resolution,
// so that it stays crisp at any scale.
#pragma once

#include <QSvgRenderer>
#include <QWidget>

#include "form_button.h"

namespace desk {

// A push button that shows only its picture, centred on the face, at the picture's size.
class PictureButton : public FormButton {
  Q_OBJECT

 public:
  PictureButton(const QString& picture, QWidget* parent);

  // The picture's vector source.
  const QString& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString picture_;
  QSvgRenderer renderer_;
};

// A picture stretched to the whole control, proportions not kept.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  PictureBox(const QString& picture, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSvgRenderer renderer_;
};

// An opaque filled rectangle. Pointer movement over it is its own, not the window's.
class MarkerBox : public QWidget {
  Q_OBJECT

 public:
  MarkerBox(const QColor& colour, QWidget* parent);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace desk
