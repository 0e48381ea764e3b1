// SPDX-License-Identifier: MIT
#include "spoken_round_window.h"

#include <QKeyEvent>

#include "round_session.h"

namespace studydesk {

SpokenRoundWindow::SpokenRoundWindow(const QString& activity, const study::RoundKind& kind,
                                     suite::FilePlaces places, Clock clock, study::Voice* voice,
                                     std::uint32_t seed)
    : RoundWindow(activity, kind, std::move(places), std::move(clock), voice), seeds_(seed) {}

QGridLayout* SpokenRoundWindow::makeTools(QWidget* page) {
  tally = new QLabel(page);
  repeatButton = new QPushButton(QStringLiteral("再听一遍（Ctrl+R）"), page);
  slowButton = new QPushButton(QStringLiteral("慢速再听（Ctrl+Shift+R）"), page);
  shuffleButton = new QPushButton(QStringLiteral("打乱顺序（Ctrl+O）"), page);
  shuffleButton->setCheckable(true);
  shuffleButton->setToolTip(QStringLiteral("下一轮打乱词条的顺序"));
  connect(shuffleButton, &QPushButton::toggled, this,
          [this](bool shuffled) { seeds_.setShuffled(shuffled); });
  connect(repeatButton, &QPushButton::clicked, this, [this] { repeat(study::Pace::Normal); });
  connect(slowButton, &QPushButton::clicked, this, [this] { repeat(study::Pace::Slow); });
  auto* tools = new QGridLayout;
  tools->addWidget(repeatButton, 0, 0);
  tools->addWidget(slowButton, 0, 1);
  tools->addWidget(shuffleButton, 1, 0);
  tools->setColumnStretch(2, 1);
  tools->addWidget(tally, 1, 3);
  return tools;
}

study::RoundSeeds::Round SpokenRoundWindow::nextRound() {
  study::RoundSeeds::Round round = seeds_.next(lesson_.entries);
  QStringList english;
  for (const study::Entry& entry : round.entries) {
    english.append(QString::fromStdU16String(entry.line1));
  }
  speakAhead(english);
  return round;
}

void SpokenRoundWindow::repeat(study::Pace pace) {
  if (const study::Entry* entry = asked()) say(QString::fromStdU16String(entry->line1), pace);
}

void SpokenRoundWindow::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && event->key() == Qt::Key_R &&
      (event->modifiers() & ~Qt::ShiftModifier) == Qt::ControlModifier) {
    repeat(event->modifiers() & Qt::ShiftModifier ? study::Pace::Slow : study::Pace::Normal);
    return;
  }
  if (!event->isAutoRepeat() && event->key() == Qt::Key_O &&
      event->modifiers() == Qt::ControlModifier) {
    shuffleButton->toggle();
    return;
  }
  RoundWindow::keyPressEvent(event);
}

}  // namespace studydesk
