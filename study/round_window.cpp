// SPDX-License-Identifier: MIT
#include "round_window.h"

#include <QKeyEvent>

#include "chooser_session.h"
#include "history_chart.h"
#include "utf8.h"

namespace studydesk {

constexpr int kHistoryRounds = 30;

QString EntriesText(const std::vector<study::Entry>& entries) {
  QString text;
  for (const study::Entry& e : entries) {
    text += QStringLiteral("\n%1　%2")
                .arg(QString::fromStdU16String(e.line1), QString::fromStdU16String(e.line2));
  }
  return text;
}

RoundWindow::RoundWindow(const QString& activity, const char* resultName, suite::FilePlaces places,
                         Clock clock)
    : StudyWindow(activity, std::move(clock)), resultName_(resultName), places_(std::move(places)) {
  speaker = new Speaker(this);
  connect(speaker, &Speaker::cannotSpeak, this, [this](const QString& reason) {
    speechWorks_ = false;
    tell(QStringLiteral("无法播放读音：%1。下面用文字代替读音。").arg(reason));
    showTextForSound();  // also when the sound was lost while the word played
  });
  end_ = new EndPage(QStringLiteral("再练一遍（Enter）"), pages);
  pages->addWidget(end_);
  summary = end_->message;
  againButton = end_->againButton;
  closeButton = end_->closeButton;
  connect(againButton, &QPushButton::clicked, this, [this] {
    roundTime_.start();
    beginRound();
  });
}

void RoundWindow::start() {
  lesson_ = study::LoadHandOff(places_.readPath(chooser::kHandOffFileName));
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
  roundTime_.start();
  beginRound();
}

bool RoundWindow::speak(const QString& english) {
  if (speechWorks_ && speaker->say(english)) return true;
  showTextForSound();
  return false;
}

void RoundWindow::finishRound(study::RoundResult result, const QString& text) {
  result.time = clock_();
  result.activity = resultName_;
  result.lesson = course::ToUtf8(lesson_.name);
  result.seconds = static_cast<double>(roundTime_.elapsed()) / 1000.0;
  std::vector<study::RoundResult> rounds;
  if (learner_.store) {
    study::StoreFailure failure;
    if (!learner_.store->saveResult(result, failure)) {
      tell(QStringLiteral("成绩没有保存：%1。").arg(StoreReason(failure)));
    }
    const bool typing = result.wordsPerMinute.has_value();
    rounds = learner_.store->recentResults(resultName_, typing ? std::string() : result.lesson,
                                           kHistoryRounds, failure);
  }
  if (rounds.empty()) rounds.push_back(result);  // nothing kept: this round alone
  end_->setBody(HistoryChart(rounds, result.wordsPerMinute.has_value()));
  end_->present(text, true);
}

void RoundWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!event->isAutoRepeat() && enter && pages->currentWidget() == end_ &&
      againButton->isVisible()) {
    againButton->click();
    return;
  }
  StudyWindow::keyPressEvent(event);
}

}  // namespace studydesk
