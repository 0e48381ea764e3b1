// SPDX-License-Identifier: MIT
// A push button of a form: no window has a default button, yet a button that has the
// keyboard focus is pressed by Enter as well as by Space, as users of such forms expect.
#pragma once

#include <QPushButton>

namespace desk {

class FormButton : public QPushButton {
  Q_OBJECT

 public:
  explicit FormButton(const QString& caption, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace desk
