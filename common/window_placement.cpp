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

void GrowWithinScreen(QWidget* window, int extraHeight) {
  const QScreen* screen = window->screen();
  if (!screen || extraHeight <= 0) return;
  const QRect area = screen->availableGeometry();
  // The frame as the window manager drew it, or room for one while it has not said.
  int frameHeight = window->frameGeometry().height() - window->height();
  if (frameHeight <= 0) frameHeight = kFrameRoom.height();
  const int height = std::min(window->height() + extraHeight, area.height() - frameHeight);
  if (height <= window->height()) return;
  window->resize(window->width(), height);
  const int overBottom = window->frameGeometry().bottom() - area.bottom();
  if (overBottom > 0) window->move(window->x(), std::max(area.top(), window->y() - overBottom));
}

}  // namespace desk
