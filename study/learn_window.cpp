// SPDX-License-Identifier: MIT
#include "learn_window.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "handoff_lesson.h"
#include "lesson_cards.h"

namespace studydesk {

LearnWindow::LearnWindow(suite::FilePlaces places, Clock clock, study::Voice* voice)
    : CardWindow(QStringLiteral("课文初记"), std::move(clock), voice,
                 QStringLiteral("再学一遍（R）")),
      places_(std::move(places)) {
  progress = new QProgressBar(this);
  progress->setAccessibleName(QStringLiteral("进度"));
  progress->hide();
  static_cast<QVBoxLayout*>(layout())->insertWidget(2, progress);
  connect(againButton, &QPushButton::clicked, this, [this] { begin(true); });
}

void LearnWindow::start() {
  const study::HandOffLesson lesson = study::LoadChosenLesson(places_);
  if (lesson.entries.empty()) {
    heading->hide();
    end_->present(NoLessonNote(lesson), false);
    return;
  }
  lessonName_ = QString::fromStdU16String(lesson.name);
  setWindowTitle(QStringLiteral("课文初记 — ") + lessonName_);
  openStore(places_);
  readPhonetics(places_);

  study::StoreFailure failure;
  std::vector<study::Card> cards = study::LessonCards(lesson, learner_.cards(), clock_(), failure);
  if (failure.failed()) tell(QStringLiteral("学习记录读取出错：%1。").arg(StoreReason(failure)));
  QStringList english;
  for (const study::Card& card : cards) english.append(QString::fromStdString(card.line1));
  session_.emplace(std::move(cards), learner_.cards());
  begin(false);
  speakAhead(english);
}

void LearnWindow::begin(bool everyCard) {
  session_->begin(everyCard, clock_());
  QString text = QStringLiteral("%1：共 %2 条").arg(lessonName_).arg(session_->lessonSize());
  if (session_->alreadyLearned() > 0) {
    text +=
        everyCard
            ? QStringLiteral("，再学一遍（已有的复习计划不会清零）")
            : QStringLiteral("，其中 %1 条已在复习中，不再重学").arg(session_->alreadyLearned());
  }
  heading->setText(text + QStringLiteral("。"));
  draw();
}

study::CardSession* LearnWindow::session() {
  return session_ ? &*session_ : nullptr;
}

void LearnWindow::draw() {
  undoButton->setEnabled(session_->canUndo());
  // A pass of no cards shows no bar rather than a busy one. The bar fills as the words say.
  progress->setVisible(session_->total() > 0);
  progress->setRange(0, std::max(1, session_->total()));
  progress->setValue(session_->position());
  progress->setFormat(
      QStringLiteral("第 %1 / %2 条").arg(session_->position()).arg(session_->total()));
  if (session_->step() != study::CardStep::Finished) {
    present();
    return;
  }
  if (session_->total() == 0) {
    end_->present(QStringLiteral("本课的 %1 条都已在复习中，可以在“复习回忆”中复习。")
                      .arg(session_->lessonSize()),
                  true);
    return;
  }
  const study::AnswerTally& tally = session_->tally();
  QString text = QStringLiteral("学完了！这次学了 %1 条，用时 %2。")
                     .arg(session_->total())
                     .arg(DurationText(session_->elapsed()));
  const QString notSaved = NotSavedText(tally);
  text +=
      notSaved.isEmpty()
          ? QStringLiteral("\n这些词条已排入复习计划，到期后在“复习回忆”中复习。")
          : QStringLiteral("\n") + notSaved + QStringLiteral("没有保存的回答不会排入复习计划。");
  end_->present(text, true);
}

void LearnWindow::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && event->key() == Qt::Key_R && event->modifiers() == Qt::NoModifier &&
      end_->armed() && againButton->isVisible()) {
    begin(true);
    return;
  }
  CardWindow::keyPressEvent(event);
}

}  // namespace studydesk
