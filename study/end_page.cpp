// SPDX-License-Identifier: MIT
#include "end_page.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QStackedWidget>

namespace studydesk {

EndPage::EndPage(const QString& againText, QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(againText.isEmpty() ? QStringLiteral("结束页：Esc 关闭")
                                        : QStringLiteral("结束页：%1，Esc 关闭").arg(againText));
  auto* inside = new QWidget;
  message = new QLabel(inside);
  message->setWordWrap(true);
  message->setAlignment(Qt::AlignCenter);
  message->setTextInteractionFlags(Qt::NoTextInteraction);
  content_ = new QVBoxLayout(inside);
  content_->addWidget(message);
  content_->addStretch(1);
  scroll_ = new QScrollArea(this);
  scroll_->setWidget(inside);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setFocusPolicy(Qt::NoFocus);
  againButton = new QPushButton(againText, this);
  againButton->setVisible(!againText.isEmpty());
  closeButton = new QPushButton(QStringLiteral("关闭（Esc）"), this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll_, 1);
  layout->addWidget(againButton);
  layout->addWidget(closeButton);
  connect(closeButton, &QPushButton::clicked, this, [this] { window()->close(); });
  QCoreApplication::instance()->installEventFilter(this);
}

void EndPage::present(const QString& text, bool offerAgain) {
  message->setText(text);
  againButton->setVisible(offerAgain && !againButton->text().isEmpty());
  armed_ = !keyDown_;
  if (auto* pages = qobject_cast<QStackedWidget*>(parentWidget())) pages->setCurrentWidget(this);
  // The page itself takes the keys, so a Space meant for the last card presses nothing.
  setFocus();
  scroll_->ensureVisible(0, 0);
}

void EndPage::setBody(QWidget* widget) {
  delete body_;
  body_ = widget;
  content_->insertWidget(1, widget, 1);
}

bool EndPage::armed() const {
  const auto* pages = qobject_cast<const QStackedWidget*>(parentWidget());
  return armed_ && isVisible() && (!pages || pages->currentWidget() == this);
}

bool EndPage::eventFilter(QObject* watched, QEvent* event) {
  // Seen before any control of the window handles the key, so a key that brings this page
  // is known to be down when the page appears.
  const bool press = event->type() == QEvent::KeyPress;
  if ((press || event->type() == QEvent::KeyRelease) &&
      !static_cast<QKeyEvent*>(event)->isAutoRepeat() && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == window()) {
    keyDown_ = press;
    if (!press) armed_ = true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace studydesk
