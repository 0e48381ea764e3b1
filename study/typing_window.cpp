// SPDX-License-Identifier: MIT
#include "typing_window.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace studydesk {
namespace {

QString Figures(double wordsPerMinute, double accuracy, qint64 millis) {
  return QStringLiteral("速度 %1 词/分钟　正确率 %2%　用时 %3")
      .arg(wordsPerMinute, 0, 'f', 1)
      .arg(accuracy * 100, 0, 'f', 1)
      .arg(DurationText(millis));
}

}  // namespace

TypingWindow::TypingWindow(suite::FilePlaces places, Clock clock)
    : RoundWindow(QStringLiteral("休闲打字"), "typing", std::move(places), std::move(clock)) {
  typePage_ = new QWidget(pages);
  typePage_->setFocusPolicy(Qt::StrongFocus);
  typePage_->setAccessibleName(QStringLiteral("照着上面的英文打字，Backspace 改正"));
  text = new QLabel(typePage_);
  text->setTextFormat(Qt::RichText);
  text->setWordWrap(true);
  QFont typeface(QStringLiteral("monospace"));
  typeface.setPointSize(16);
  text->setFont(typeface);
  figures = new QLabel(typePage_);
  auto* layout = new QVBoxLayout(typePage_);
  layout->addWidget(text, 1);
  layout->addWidget(figures);
  pages->insertWidget(0, typePage_);
  ticker_.setInterval(500);
  connect(&ticker_, &QTimer::timeout, this, &TypingWindow::showProgress);
}

void TypingWindow::beginRound() {
  round_.emplace(study::TypingRound::TextOf(lesson_.entries));
  heading->setText(
      QStringLiteral("%1：照着打出下面的英文。打错的字显示为红色，Backspace 可以改正。")
          .arg(QString::fromStdU16String(lesson_.name)));
  pages->setCurrentWidget(typePage_);
  typePage_->setFocus();
  showProgress();
}

void TypingWindow::showProgress() {
  const std::u16string& all = round_->text();
  const std::u16string& typed = round_->typed();
  QString html;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const QString c = QString(QChar(all[i])).toHtmlEscaped();
    if (i < typed.size()) {
      html += typed[i] == all[i]
                  ? QStringLiteral("<span style=\"color:#1a7f37\">%1</span>").arg(c)
                  : QStringLiteral("<span style=\"background:#f4b4b4\">%1</span>").arg(c);
    } else if (i == typed.size()) {
      html += QStringLiteral("<u><b>%1</b></u>").arg(c);
    } else {
      html += QStringLiteral("<span style=\"color:#707070\">%1</span>").arg(c);
    }
  }
  text->setText(QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(html));
  const study::Millis now = round_->typed().empty() ? 0 : clock_();
  figures->setText(Figures(round_->wordsPerMinute(now), round_->accuracy(), round_->elapsed(now)));
}

void TypingWindow::finish() {
  ticker_.stop();
  const double speed = round_->wordsPerMinute(lastKey_);
  const double accuracy = round_->accuracy();
  QString missed;
  for (const auto& [key, times] : round_->missedMost(5)) {
    missed += QStringLiteral("　%1 ×%2")
                  .arg(key == u' ' ? QStringLiteral("空格") : QString(QChar(key)))
                  .arg(times);
  }
  const std::u16string& all = round_->text();
  int right = 0;
  for (std::size_t i = 0; i < all.size(); ++i) right += round_->typed()[i] == all[i];
  finishRound({0, {}, {}, right, static_cast<int>(all.size()), 0, speed, accuracy},
              QStringLiteral("打完了！") + Figures(speed, accuracy, round_->elapsed(lastKey_)) +
                  (missed.isEmpty() ? QString() : QStringLiteral("\n最常打错的键：") + missed));
}

void TypingWindow::keyPressEvent(QKeyEvent* event) {
  if (pages->currentWidget() == typePage_ && round_ && !round_->finished()) {
    if (event->key() == Qt::Key_Backspace) {
      round_->backspace();
      showProgress();
      return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint()) {
      lastKey_ = clock_();
      round_->type(typed[0].unicode(), lastKey_);
      if (!ticker_.isActive()) ticker_.start();
      if (round_->finished()) {
        finish();
      } else {
        showProgress();
      }
      return;
    }
  }
  RoundWindow::keyPressEvent(event);
}

}  // namespace studydesk
