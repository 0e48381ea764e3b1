// SPDX-License-Identifier: MIT
#include "form.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QIcon>
#include <QScreen>
#include <algorithm>

#include "site.h"
#include "twips.h"

namespace desk {
namespace {

// What a window manager's title bar holds beside the title: the window's icon and up to
// three buttons, with their spacing.
constexpr int kTitleBarRoom = 160;

// A short message makes a narrow box, whose title a window manager cuts down to "…": the
// box is made wide enough for its title in a bold face.
void MakeRoomForTitle(QMessageBox& box) {
  QFont bold = box.font();
  bold.setBold(true);
  const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

}  // namespace

Form::Form(const WindowRecord& window)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(QString::fromUtf8(window.caption) + WebAddress());
  setFixedSize(TwipsSize(window.clientWidth, window.clientHeight));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, window.background);
  setPalette(palette);
  setAutoFillBackground(true);
  if (window.icon) setWindowIcon(QIcon(QString::fromUtf8(window.icon)));
  messageCall_ = [this](QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    MakeRoomForTitle(box);
    box.exec();
  };
}

void Form::showMessage(QMessageBox::Icon icon, const QString& title, const QString& text) {
  messageCall_(icon, title, text);
}

void Form::setOuterSize(int widthTwips, int heightTwips) {
  const QSize frame = frameGeometry().size() - geometry().size();
  setFixedSize(TwipsSize(widthTwips, heightTwips) - frame);
}

void Form::moveUp(int twips) {
  move(x(), y() - TwipsToPixels(twips));
}

void Form::showAtStartPosition() {
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
  }
  show();
}

void Form::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activated_) {
    activated_ = true;
    Form_Activate();
  }
}

}  // namespace desk

namespace desk {

bool Form::focusNextPrevChild(bool next) {
  const QWidget* focus = QApplication::focusWidget();
  const auto owner = std::find_if(keyboardOrder_.begin(), keyboardOrder_.end(), [&](QWidget* w) {
    return focus && (w == focus || w->isAncestorOf(focus));
  });
  if (owner == keyboardOrder_.end()) return QWidget::focusNextPrevChild(next);
  const auto count = static_cast<std::ptrdiff_t>(keyboardOrder_.size());
  const std::ptrdiff_t step = next ? 1 : count - 1;
  std::ptrdiff_t index = owner - keyboardOrder_.begin();
  for (std::ptrdiff_t tried = 1; tried < count; ++tried) {
    index = (index + step) % count;
    QWidget* candidate = keyboardOrder_[static_cast<std::size_t>(index)];
    if (candidate->isVisible() && candidate->isEnabled() &&
        (candidate->focusPolicy() & Qt::TabFocus)) {
      candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return true;
}

}  // namespace desk
