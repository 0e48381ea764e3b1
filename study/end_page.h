// SPDX-License-Identifier: MIT
// The page a study window ends on, or shows when there is nothing to study: a message,
// a button to go again, one to close.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace studydesk {

class EndPage : public QWidget {
  Q_OBJECT

 public:
  EndPage(const QString& againText, QWidget* parent);

  // Shows `text`; `offerAgain` shows the button to go again and gives it the focus.
  void present(const QString& text, bool offerAgain);
  // Puts `widget` beneath the message, taking the room there is.
  void setBody(QWidget* widget);

  QLabel* message = nullptr;
  QPushButton* againButton = nullptr;
  QPushButton* closeButton = nullptr;

 private:
  QVBoxLayout* layout_ = nullptr;
  QWidget* body_ = nullptr;
};

}  // namespace studydesk
