// SPDX-License-Identifier: MIT
#include "round_window.h"

#include <QKeyEvent>
#include <QVBoxLayout>

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
  });
  endPage_ = new QWidget(pages);
  summary = new QLabel(endPage_);
  summary->setWordWrap(true);
  summary->setAlignment(Qt::AlignCenter);
  againButton = new QPushButton(QStringLiteral("再练一遍（Enter）"), endPage_);
  closeButton = new QPushButton(QStringLiteral("关闭（Esc）"), endPage_);
  auto* layout = new QVBoxLayout(endPage_);
  layout->addWidget(summary);
  layout->addWidget(againButton);
  layout->addWidget(closeButton);
  pages->addWidget(endPage_);
  connect(againButton, &QPushButton::clicked, this, [this] {
    roundTime_.start();
    beginRound();
  });
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void RoundWindow::start() {
  lesson_ = study::LoadHandOff(places_.readPath(chooser::kHandOffFileName));
  if (lesson_.entries.empty()) {
    showEnd(QStringLiteral("还没有选课：请先在“选 课”中选择一课。"), false);
    return;
  }
  setWindowTitle(activity_ + QStringLiteral(" — ") + QString::fromStdU16String(lesson_.name));
  if (const QString why = unsuitable(); !why.isEmpty()) {
    showEnd(why, false);
    return;
  }
  openStore(places_);
  roundTime_.start();
  beginRound();
}

bool RoundWindow::speak(const QString& english) {
  return speechWorks_ && speaker->say(english);
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
  delete history_;
  history_ = HistoryChart(rounds, result.wordsPerMinute.has_value());
  static_cast<QVBoxLayout*>(endPage_->layout())->insertWidget(1, history_, 1);
  showEnd(text, true);
}

void RoundWindow::showEnd(const QString& text, bool offerAgain) {
  summary->setText(text);
  againButton->setVisible(offerAgain);
  pages->setCurrentWidget(endPage_);
  (offerAgain ? againButton : closeButton)->setFocus();
}

void RoundWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!event->isAutoRepeat() && enter && pages->currentWidget() == endPage_ &&
      againButton->isVisible()) {
    againButton->click();
    return;
  }
  StudyWindow::keyPressEvent(event);
}

}  // namespace studydesk
