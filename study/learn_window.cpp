// SPDX-License-Identifier: MIT
#include "learn_window.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "chooser_session.h"
#include "utf8.h"

namespace studydesk {
LearnWindow::LearnWindow(suite::FilePlaces places, Clock clock)
    : CardWindow(QStringLiteral("课文初记"), std::move(clock)), places_(std::move(places)) {
  progress = new QProgressBar(this);
  progress->setFormat(QStringLiteral("第 %v / %m 条"));
  progress->setAccessibleName(QStringLiteral("进度"));
  static_cast<QVBoxLayout*>(layout())->insertWidget(2, progress);

  end_ = new EndPage(QStringLiteral("再学一遍（R）"), pages);
  pages->addWidget(end_);
  message = end_->message;
  againButton = end_->againButton;
  closeButton = end_->closeButton;
  connect(againButton, &QPushButton::clicked, this, [this] { begin(true); });
}

void LearnWindow::start() {
  const study::HandOffLesson lesson =
      study::LoadHandOff(places_.readPath(chooser::kHandOffFileName));
  if (lesson.entries.empty()) {
    progress->hide();
    heading->hide();
    end_->present(NoLessonNote(lesson), false);
    return;
  }
  lessonName_ = QString::fromStdU16String(lesson.name);
  setWindowTitle(QStringLiteral("课文初记 — ") + lessonName_);
  openStore(places_);

  std::vector<std::pair<std::string, std::string>> entries;
  for (const study::Entry& entry : lesson.entries) {
    entries.emplace_back(course::ToUtf8(entry.line1), course::ToUtf8(entry.line2));
  }
  const std::string name = course::ToUtf8(lesson.name);
  if (learner_.store) {
    study::StoreFailure failure;
    lessonCards_ = learner_.store->lessonCards(name, entries, failure);
    if (failure.code != SQLITE_OK)
      tell(QStringLiteral("学习记录读取出错：%1。").arg(StoreReason(failure)));
  } else {
    for (const auto& [line1, line2] : entries) lessonCards_.push_back({0, name, line1, line2, {}});
  }
  begin(false);
}

void LearnWindow::begin(bool everyCard) {
  session_.emplace(lessonCards_, everyCard);
  sitting_.start();
  QString text = QStringLiteral("%1：共 %2 条").arg(lessonName_).arg(session_->lessonSize());
  if (session_->alreadyLearned() > 0) {
    text +=
        everyCard
            ? QStringLiteral("，再学一遍（已有的复习计划不会清零）")
            : QStringLiteral("，其中 %1 条已在复习中，不再重学").arg(session_->alreadyLearned());
  }
  heading->setText(text + QStringLiteral("。"));
  progress->setRange(0, session_->total());
  progress->show();
  if (session_->done()) {
    end_->present(QStringLiteral("本课的 %1 条都已在复习中，可以在“复习回忆”中复习。")
                      .arg(session_->lessonSize()),
                  true);
    return;
  }
  showNext();
}

void LearnWindow::showNext() {
  // The bar says which card of the pass this is; a card answered 1 does not move it.
  progress->setValue(std::min(session_->finished() + 1, session_->total()));
  present(session_->current(), lessonName_);
}

void LearnWindow::gradeCurrent(study::Grade grade) {
  if (!session_ || session_->done() || !card->revealed()) return;
  const study::Committed done = record(session_->current(), grade);
  // Later passes start from what this one did.
  for (study::Card& known : lessonCards_) {
    if (known.line1 == session_->current().line1 && known.line2 == session_->current().line2) {
      known.state = done.state;
    }
  }
  session_->answered(grade, done.state);
  if (!session_->done()) {
    showNext();
    return;
  }
  progress->setValue(session_->total());
  end_->present(
      QStringLiteral(
          "学完了！这次学了 %1 条，用时 %2。\n这些词条已排入复习计划，到期后在“复习回忆”中复习。")
          .arg(session_->total())
          .arg(DurationText(sitting_.elapsed())),
      true);
}

void LearnWindow::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && event->key() == Qt::Key_R && pages->currentWidget() == end_ &&
      againButton->isVisible()) {
    begin(true);
    return;
  }
  CardWindow::keyPressEvent(event);
}

}  // namespace studydesk
