// SPDX-License-Identifier: MIT
#include "end_page.h"

#include <QStackedWidget>

namespace studydesk {

EndPage::EndPage(const QString& againText, QWidget* parent) : QWidget(parent) {
  message = new QLabel(this);
  message->setWordWrap(true);
  message->setAlignment(Qt::AlignCenter);
  againButton = new QPushButton(againText, this);
  closeButton = new QPushButton(QStringLiteral("关闭（Esc）"), this);
  layout_ = new QVBoxLayout(this);
  layout_->addWidget(message, 1);
  layout_->addWidget(againButton);
  layout_->addWidget(closeButton);
  connect(closeButton, &QPushButton::clicked, this, [this] { window()->close(); });
}

void EndPage::present(const QString& text, bool offerAgain) {
  message->setText(text);
  againButton->setVisible(offerAgain);
  if (auto* pages = qobject_cast<QStackedWidget*>(parentWidget())) pages->setCurrentWidget(this);
  (offerAgain ? againButton : closeButton)->setFocus();
}

void EndPage::setBody(QWidget* widget) {
  delete body_;
  body_ = widget;
  layout_->setStretchFactor(message, 0);
  layout_->insertWidget(1, widget, 1);
}

}  // namespace studydesk
