// SPDX-License-Identifier: MIT
#include "round_window.h"

#include <QKeyEvent>

#include "history_chart.h"
#include "utf8.h"

namespace studydesk {

QString RoundEndText(const QString& title, int right, int total, qint64 millis,
                     const std::vector<study::Entry>& missed, const QString& allRight,
                     const QString& missedHeading) {
  QString text = QStringLiteral("%1：%2 / %3，用时 %4")
                     .arg(title)
                     .arg(right)
                     .arg(total)
                     .arg(DurationText(millis));
  if (missed.empty()) return text + allRight;
  text += missedHeading;
  for (const study::Entry& e : missed) {
    text += QStringLiteral("\n%1　%2")
                .arg(QString::fromStdU16String(e.line1), QString::fromStdU16String(e.line2));
  }
  return text;
}

RoundWindow::RoundWindow(const QString& activity, const study::RoundKind& kind,
                         suite::FilePlaces places, Clock clock, study::Voice* voice)
    : StudyWindow(activity, std::move(clock), voice), kind_(kind), places_(std::move(places)) {
  withoutSound_ = QStringLiteral("下面用文字代替读音。");
  end_ = new EndPage(QStringLiteral("再练一遍（Enter）"), pages);
  pages->addWidget(end_);
  summary = end_->message;
  againButton = end_->againButton;
  closeButton = end_->closeButton;
  connect(againButton, &QPushButton::clicked, this, &RoundWindow::beginRound);
}

void RoundWindow::start() {
  lesson_ = study::LoadChosenLesson(places_);
  if (lesson_.entries.empty()) {
    end_->present(NoLessonNote(lesson_), false);
    return;
  }
  setWindowTitle(activity_ + QStringLiteral(" — ") + QString::fromStdU16String(lesson_.name));
  if (const QString why = unsuitable(); !why.isEmpty()) {
    end_->present(why, false);
    return;
  }
  openStore(places_);
  readPhonetics(places_);
  beginRound();
}

void RoundWindow::say(const QString& english, study::Pace pace) {
  if (!speak(english, pace)) showTextForSound();
}

void RoundWindow::finishRound(study::RoundResult result, const QString& text) {
  const study::RoundEnd end =
      study::EndRound(std::move(result), kind_, course::ToUtf8(lesson_.name), learner_.rounds());
  QString kept;
  if (end.kept == study::RoundEnd::Kept::Failed) {
    kept = QStringLiteral("\n这一轮的成绩没有保存：%1。").arg(StoreReason(end.failure));
  } else if (end.kept == study::RoundEnd::Kept::NoStore) {
    kept = QStringLiteral("\n这一轮的成绩没有保存：没有可用的学习记录。");
  }
  end_->setBody(HistoryChart(end.history, kind_.typing, end.days));
  end_->present(text + kept, true);
}

void RoundWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!event->isAutoRepeat() && enter && end_->armed() && againButton->isVisible()) {
    againButton->click();
    return;
  }
  StudyWindow::keyPressEvent(event);
}

}  // namespace studydesk
