// SPDX-License-Identifier: MIT
#include "dictation_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace studydesk {
namespace {

// The text with the marked characters underlined in red, as rich text.
QString Marked(const std::u16string& text, const std::vector<bool>& marks) {
  QString html;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const QString c = QString(QChar(text[i])).toHtmlEscaped();
    html +=
        marks[i] ? QStringLiteral("<u style=\"color:#c00000;font-weight:bold\">%1</u>").arg(c) : c;
  }
  return html;
}

}  // namespace

DictationWindow::DictationWindow(suite::FilePlaces places, Clock clock, std::uint32_t seed)
    : SpokenRoundWindow(QStringLiteral("听写训练"), "dictation", std::move(places),
                        std::move(clock), seed) {
  askPage_ = new QWidget(pages);
  prompt = new QLabel(askPage_);
  prompt->setAlignment(Qt::AlignCenter);
  prompt->setWordWrap(true);
  QFont big = prompt->font();
  big.setPointSize(18);
  prompt->setFont(big);
  input = new QLineEdit(askPage_);
  input->setFont(big);
  input->setAccessibleName(QStringLiteral("写出听到的英文，按 Enter 确认"));
  feedback = new QLabel(askPage_);
  feedback->setTextFormat(Qt::RichText);
  feedback->setWordWrap(true);
  feedback->setAlignment(Qt::AlignCenter);
  QHBoxLayout* tools = makeTools(askPage_);
  auto* layout = new QVBoxLayout(askPage_);
  layout->addStretch(1);
  layout->addWidget(prompt);
  layout->addWidget(input);
  layout->addWidget(feedback);
  layout->addStretch(1);
  layout->addLayout(tools);
  pages->insertWidget(0, askPage_);
  connect(input, &QLineEdit::returnPressed, this, &DictationWindow::submit);
}

void DictationWindow::beginRound() {
  round_.emplace(roundOrder());
  heading->setText(QStringLiteral("%1：共 %2 条。听读音，写出英文，按 Enter 确认。")
                       .arg(QString::fromStdU16String(lesson_.name))
                       .arg(round_->total()));
  feedback->clear();
  pages->setCurrentWidget(askPage_);
  ask();
}

void DictationWindow::ask() {
  waitingAfterMiss_ = false;
  input->clear();
  input->setReadOnly(false);
  input->setFocus();
  tally->setText(QStringLiteral("答对 %1 / %2").arg(round_->rightFirstTime()).arg(round_->total()));
  prompt->setText(QStringLiteral("请写出听到的词"));
  speak(QString::fromStdU16String(round_->current().line1));  // else showTextForSound
}

void DictationWindow::showTextForSound() {
  // Text stands in for the sound when the word cannot be heard: its meaning.
  if (const study::Entry* entry = asked()) {
    prompt->setText(QStringLiteral("请写出：%1").arg(QString::fromStdU16String(entry->line2)));
  }
}

const study::Entry* DictationWindow::asked() const {
  const bool asking = pages->currentWidget() == askPage_ && round_ && !round_->done();
  return asking ? &round_->current() : nullptr;
}

void DictationWindow::submit() {
  if (!round_ || round_->done()) return;
  if (waitingAfterMiss_) {
    ask();
    return;
  }
  const study::Entry entry = round_->current();
  const std::u16string typed = input->text().toStdU16String();
  if (round_->answer(typed)) {
    feedback->setText(QStringLiteral("<span style=\"color:#1a7f37\">✓ %1</span>")
                          .arg(QString::fromStdU16String(entry.line1).toHtmlEscaped()));
    if (round_->done()) {
      const QString missed = EntriesText(round_->missed());
      finishRound(
          {0, {}, {}, round_->rightFirstTime(), round_->total(), 0, {}, {}},
          QStringLiteral("听写结束：%1 / %2").arg(round_->rightFirstTime()).arg(round_->total()) +
              QStringLiteral("，用时 %1").arg(DurationText(roundTime_.elapsed())) +
              (missed.isEmpty() ? QStringLiteral("，全部一次写对！")
                                : QStringLiteral("。写错过的词：") + missed));
      return;
    }
    ask();
    return;
  }
  const study::Differences d = study::Compare(typed, entry.line1);
  feedback->setText(
      QStringLiteral("✗ 你写的：%1<br>正确的：%2<br>%3<br>（按 Enter 继续，这个词稍后再听写）")
          .arg(Marked(d.typed, d.typedWrong), Marked(d.expected, d.expectedMissed),
               QString::fromStdU16String(entry.line2).toHtmlEscaped()));
  input->setReadOnly(true);
  waitingAfterMiss_ = true;
}

}  // namespace studydesk
