// SPDX-License-Identifier: MIT
#include "card_window.h"

#include <QKeyEvent>

namespace studydesk {

CardWindow::CardWindow(const QString& activity, Clock clock)
    : StudyWindow(activity, std::move(clock)) {
  card = new CardPanel(pages);
  pages->addWidget(card);
  connect(card, &CardPanel::graded, this, &CardWindow::gradeCurrent);
}

void CardWindow::present(const study::Card& shown, const QString& context) {
  const auto outcomes = fsrs_.preview(shown.state, clock_());
  std::array<int, 4> intervals{};
  for (std::size_t g = 0; g < 4; ++g) intervals[g] = outcomes[g].intervalDays;
  card->showCard(context, QString::fromStdString(shown.line1), QString::fromStdString(shown.line2),
                 intervals);
  pages->setCurrentWidget(card);
  card->setFocus();
  shownFor_.start();
}

study::Committed CardWindow::record(const study::Card& answered, study::Grade grade) {
  const study::Millis now = clock_();
  if (learner_.store && answered.id != 0 && !learner_.store->readOnly()) {
    study::StoreFailure failure;
    const study::Answer answer{answered.id, now, grade, activity_.toStdString(),
                               static_cast<double>(shownFor_.elapsed()) / 1000.0};
    if (auto done = learner_.store->commit(answer, failure)) return *done;
    tell(QStringLiteral("回答没有保存：%1。").arg(StoreReason(failure)));
  }
  return {0, fsrs_.answer(answered.state, grade, now)};
}

void CardWindow::keyPressEvent(QKeyEvent* event) {
  // A key held down must not answer card after card.
  if (event->isAutoRepeat()) return;
  const int key = event->key();
  if (pages->currentWidget() == card) {
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !card->revealed()) {
      card->reveal();
      return;
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_4 && card->revealed()) {
      gradeCurrent(static_cast<study::Grade>(key - Qt::Key_0));
      return;
    }
  }
  StudyWindow::keyPressEvent(event);
}

}  // namespace studydesk
