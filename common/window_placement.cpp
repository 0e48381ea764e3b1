// SPDX-License-Identifier: MIT
#include "window_placement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace desk {
namespace {

// The frame a window manager adds is not known before the window is shown.
const QSize kFrameRoom(16, 48);

}  // namespace

void FitToScreen(QWidget* window, const QScreen* screen) {
  if (!screen) return;
  window->resize(window->size().boundedTo(screen->availableGeometry().size() - kFrameRoom));
}

void ShowCentred(QWidget* window) {
  QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) {
    FitToScreen(window, screen);
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(), window->size());
    frame.moveCenter(area.center());
    window->move(frame.left(), std::max(area.top(), frame.top() - kFrameRoom.height() / 3));
  }
  window->show();
}

}  // namespace desk
