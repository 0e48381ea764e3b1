// SPDX-License-Identifier: MIT
#include "round_window.h"

#include <QKeyEvent>

#include "history_chart.h"
#include "utf8.h"

namespace studydesk {

constexpr int kHistoryRounds = 30;

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

RoundWindow::RoundWindow(const QString& activity, const char* resultName, suite::FilePlaces places,
                         Clock clock, study::Voice* voice)
    : StudyWindow(activity, std::move(clock), voice),
      resultName_(resultName),
      places_(std::move(places)) {
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
  result.activity = resultName_;
  result.lesson = course::ToUtf8(lesson_.name);
  QString kept;
  std::vector<study::RoundResult> rounds;
  if (learner_.store) {
    study::StoreFailure failure;
    if (!learner_.store->saveResult(result, failure)) {
      kept = QStringLiteral("\n这一轮的成绩没有保存：%1。").arg(StoreReason(failure));
    }
    const bool typing = result.wordsPerMinute.has_value();
    rounds = learner_.store->recentResults(resultName_, typing ? std::string() : result.lesson,
                                           kHistoryRounds, failure);
  } else {
    kept = QStringLiteral("\n这一轮的成绩没有保存：没有可用的学习记录。");
  }
  if (rounds.empty()) rounds.push_back(result);  // nothing kept: this round alone
  const study::DayRule days = learner_.store
                                  ? learner_.store->dayRule()
                                  : study::DayRule::Local(study::kDefaultDayStartMinutes);
  end_->setBody(HistoryChart(rounds, result.wordsPerMinute.has_value(), days));
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
