// SPDX-License-Identifier: MIT
// The page a study window ends on, or shows when there is nothing to study: a message and
// what goes with it (scrolling when it is long), a button to go again, one to close. When
// a key brings it, its keys act only once that key has been let go, so the key that
// answered the last item never reaches them.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

namespace studydesk {

class EndPage : public QWidget {
  Q_OBJECT

 public:
  // `againText` empty: there is no going again.
  EndPage(const QString& againText, QWidget* parent);

  // Shows `text`, with the button to go again when `offerAgain`; the page takes the focus.
  void present(const QString& text, bool offerAgain);
  // Puts `widget` beneath the message.
  void setBody(QWidget* widget);
  // The page is on show and no key that was down when it came is still down.
  bool armed() const;

  QLabel* message = nullptr;
  QPushButton* againButton = nullptr;
  QPushButton* closeButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QScrollArea* scroll_ = nullptr;
  QVBoxLayout* content_ = nullptr;
  QWidget* body_ = nullptr;
  bool armed_ = false;
  bool keyDown_ = false;
};

}  // namespace studydesk
