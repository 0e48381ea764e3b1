// SPDX-License-Identifier: MIT
#include "form_button.h"

#include <QKeyEvent>

namespace desk {

FormButton::FormButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void FormButton::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    // A held Enter presses once: each press may start a program or show a message.
    if (!event->isAutoRepeat()) click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace desk
