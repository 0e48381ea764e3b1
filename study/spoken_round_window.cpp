// SPDX-License-Identifier: MIT
#include "spoken_round_window.h"

#include <QKeyEvent>

#include "round_session.h"

namespace studydesk {

SpokenRoundWindow::SpokenRoundWindow(const QString& activity, const char* resultName,
                                     suite::FilePlaces places, Clock clock, std::uint32_t seed)
    : RoundWindow(activity, resultName, std::move(places), std::move(clock)), seed_(seed) {}

QHBoxLayout* SpokenRoundWindow::makeTools(QWidget* page) {
  tally = new QLabel(page);
  repeatButton = new QPushButton(QStringLiteral("再听一遍（Ctrl+R）"), page);
  shuffleButton = new QPushButton(QStringLiteral("打乱顺序（Ctrl+O）"), page);
  shuffleButton->setCheckable(true);
  shuffleButton->setToolTip(QStringLiteral("下一轮打乱词条的顺序"));
  connect(repeatButton, &QPushButton::clicked, this, &SpokenRoundWindow::repeat);
  auto* tools = new QHBoxLayout;
  tools->addWidget(repeatButton);
  tools->addWidget(shuffleButton);
  tools->addStretch(1);
  tools->addWidget(tally);
  return tools;
}

std::vector<study::Entry> SpokenRoundWindow::roundOrder() {
  return study::RoundOrder(lesson_.entries, shuffleButton->isChecked(), seed_++);
}

void SpokenRoundWindow::repeat() {
  if (const study::Entry* entry = asked()) say(QString::fromStdU16String(entry->line1));
}

void SpokenRoundWindow::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && event->modifiers() == Qt::ControlModifier) {
    if (event->key() == Qt::Key_R) {
      repeat();
      return;
    }
    if (event->key() == Qt::Key_O) {
      shuffleButton->toggle();
      return;
    }
  }
  RoundWindow::keyPressEvent(event);
}

}  // namespace studydesk
