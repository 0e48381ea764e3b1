// SPDX-License-Identifier: MIT
#include "card_window.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "window_placement.h"

namespace studydesk {

QString NotSavedText(const study::AnswerTally& tally) {
  if (tally.notSaved == 0) return {};
  QString why;
  switch (tally.why) {
    case study::NotSavedWhy::NoStore:
      why = QStringLiteral("没有可用的学习记录");
      break;
    case study::NotSavedWhy::ReadOnly:
      why = QStringLiteral("学习记录是只读的");
      break;
    case study::NotSavedWhy::Failed:
      why = StoreReason(tally.failure);
      break;
  }
  return QStringLiteral("有 %1 个回答没有保存：%2。").arg(tally.notSaved).arg(why);
}

CardWindow::CardWindow(const QString& activity, Clock clock, study::Voice* voice,
                       const QString& againText)
    : StudyWindow(activity, std::move(clock), voice) {
  card = new CardPanel(pages);
  pages->addWidget(card);
  end_ = new EndPage(againText, pages);
  pages->addWidget(end_);
  message = end_->message;
  againButton = end_->againButton;
  closeButton = end_->closeButton;
  undoButton = new QPushButton(QStringLiteral("撤销上一个回答（Ctrl+Z）"), this);
  undoButton->setEnabled(false);
  tools_ = new QHBoxLayout;
  tools_->addWidget(undoButton);
  tools_->addStretch(1);
  static_cast<QVBoxLayout*>(layout())->addLayout(tools_);
  connect(undoButton, &QPushButton::clicked, this, &CardWindow::undo);
  connect(card, &CardPanel::graded, this, &CardWindow::gradeCurrent);
  connect(card, &CardPanel::revealAsked, this, &CardWindow::revealCurrent);
}

void CardWindow::present() {
  const study::Card& shown = session()->current();
  card->showCard(QString::fromStdString(shown.lesson), QString::fromStdString(shown.line1),
                 QString::fromStdString(shown.partOfSpeech), QString::fromStdString(shown.line2),
                 session()->intervals(clock_()));
  card->showPhonetics(phoneticsOf(QString::fromStdString(shown.line1)));
  pages->setCurrentWidget(card);
  card->setFocus();
  makeRoom();
  sayCard();
}

void CardWindow::makeRoom() {
  layout()->activate();
  desk::GrowWithinScreen(this, card->lackingHeight());
}

study::CardStep CardWindow::step() {
  return session() ? session()->step() : study::CardStep::Finished;
}

void CardWindow::revealCurrent() {
  if (step() != study::CardStep::Front) return;
  session()->reveal();
  card->reveal();
  makeRoom();
}

void CardWindow::gradeCurrent(study::Grade grade) {
  if (step() == study::CardStep::Back && session()->answer(grade, clock_())) draw();
}

void CardWindow::undo() {
  if (!session()) return;
  study::StoreFailure failure;
  switch (session()->undo(clock_(), failure)) {
    case study::UndoOutcome::Done:
      draw();
      return;
    case study::UndoOutcome::NothingToUndo:
      return;
    case study::UndoOutcome::AnsweredSince:
      tell(QStringLiteral("无法撤销上一个回答：这个词条后来又回答过了。"));
      return;
    case study::UndoOutcome::Failed:
      tell(QStringLiteral("无法撤销上一个回答：%1。").arg(StoreReason(failure)));
      return;
  }
}

void CardWindow::sayCard() {
  if (step() != study::CardStep::Finished) {
    speak(QString::fromStdString(session()->current().line1));
  }
}

void CardWindow::keyPressEvent(QKeyEvent* event) {
  // A key held down must not answer card after card.
  if (event->isAutoRepeat()) return;
  if (event->matches(QKeySequence::Undo)) {
    undo();
    return;
  }
  const int key = event->key();
  if (pages->currentWidget() == card) {
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        step() == study::CardStep::Front) {
      revealCurrent();
      return;
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_4 && step() == study::CardStep::Back) {
      gradeCurrent(static_cast<study::Grade>(key - Qt::Key_0));
      return;
    }
    if (key == Qt::Key_R && event->modifiers() == Qt::ControlModifier) {
      sayCard();
      return;
    }
    if (event->modifiers() == Qt::NoModifier && card->scrollWith(key)) return;
  }
  StudyWindow::keyPressEvent(event);
}

}  // namespace studydesk
