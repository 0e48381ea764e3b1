// SPDX-License-Identifier: MIT
// What both programs' windows share: built from a layout description, a fixed single
// border, a start position centred on the screen, an activation handler that runs once,
// and a message call that tests can replace.
#pragma once

#include <QMessageBox>
#include <QWidget>
#include <functional>
#include <vector>

#include "form_layout.h"

namespace desk {

using MessageCall =
    std::function<void(QMessageBox::Icon icon, const QString& title, const QString& text)>;

class Form : public QWidget {
  Q_OBJECT

 public:
  explicit Form(const WindowRecord& window);

  // Replaces the modal message box, for tests; the programs never call it.
  void setMessageCall(MessageCall call) { messageCall_ = std::move(call); }

  // Shows the window centred on its screen, not modally.
  void showAtStartPosition();

 protected:
  // Runs the first time the window becomes active, and never again: focus coming back from
  // another program or from a message box must not move the window once more.
  virtual void Form_Activate() = 0;

  void showMessage(QMessageBox::Icon icon, const QString& title, const QString& text);
  // Frame and title bar included, as far as the window system has told us about them.
  void setOuterSize(int widthTwips, int heightTwips);
  void moveUp(int twips);

  // The Tab key walks these controls in this order, skipping hidden and disabled ones;
  // web views rearrange Qt's own focus chain when their pages arrive.
  void setKeyboardOrder(std::vector<QWidget*> order) { keyboardOrder_ = std::move(order); }

  void changeEvent(QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  std::vector<QWidget*> keyboardOrder_;
  MessageCall messageCall_;
  bool activated_ = false;
};

}  // namespace desk
