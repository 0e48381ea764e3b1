// SPDX-License-Identifier: MIT
#include "typing_window.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace studydesk {
namespace {

QString FiguresText(const study::TypingFigures& figures) {
  return QStringLiteral("速度 %1 词/分钟　正确率 %2%　用时 %3")
      .arg(figures.wordsPerMinute, 0, 'f', 1)
      .arg(figures.accuracy * 100, 0, 'f', 1)
      .arg(DurationText(figures.elapsed));
}

}  // namespace

TypingWindow::TypingWindow(suite::FilePlaces places, Clock clock, study::Voice* voice)
    : RoundWindow(QStringLiteral("休闲打字"), study::kTypingRound, std::move(places),
                  std::move(clock), voice) {
  typePage_ = new QWidget(pages);
  typePage_->setFocusPolicy(Qt::StrongFocus);
  typePage_->setAccessibleName(QStringLiteral("照着上面的英文打字，Backspace 改正"));
  text = new QTextEdit(typePage_);
  text->setReadOnly(true);
  text->setFocusPolicy(Qt::NoFocus);
  text->setFrameShape(QFrame::NoFrame);
  text->setAccessibleName(QStringLiteral("要打的英文"));
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
  session_.emplace(study::TypingSession::TextOf(lesson_.entries));
  heading->setText(
      QStringLiteral("%1：照着打出下面的英文。打错的字显示为红色，Backspace 可以改正。")
          .arg(QString::fromStdU16String(lesson_.name)));
  pages->setCurrentWidget(typePage_);
  typePage_->setFocus();
  showProgress();
}

void TypingWindow::showProgress() {
  const std::u16string& all = session_->text();
  const std::u16string& typed = session_->typed();
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
  text->setHtml(QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(html));
  // Keep the line of the character to type next in view.
  QTextCursor at(text->document());
  at.setPosition(static_cast<int>(std::min(typed.size(), all.size())));
  text->setTextCursor(at);
  text->ensureCursorVisible();
  figures->setText(FiguresText(session_->figures(clock_())));
}

void TypingWindow::finish() {
  ticker_.stop();
  const study::RoundResult result = session_->result();
  QString missed;
  for (const auto& [key, times] : session_->missedMost(5)) {
    missed += QStringLiteral("　%1 ×%2")
                  .arg(key == u' ' ? QStringLiteral("空格") : QString(QChar(key)))
                  .arg(times);
  }
  finishRound(result,
              QStringLiteral("打完了！") + FiguresText(session_->figures(clock_())) +
                  (missed.isEmpty() ? QString() : QStringLiteral("\n最常打错的键：") + missed));
}

void TypingWindow::keyPressEvent(QKeyEvent* event) {
  if (session_ && !session_->finished()) {
    if (event->key() == Qt::Key_Backspace) {
      session_->backspace();
      showProgress();
      return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint()) {
      session_->type(typed[0].unicode(), clock_());
      if (!ticker_.isActive()) ticker_.start();
      if (session_->finished()) {
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
