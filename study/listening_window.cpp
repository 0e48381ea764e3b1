// SPDX-License-Identifier: MIT
#include "listening_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace studydesk {

ListeningWindow::ListeningWindow(suite::FilePlaces places, Clock clock, std::uint32_t seed)
    : SpokenRoundWindow(QStringLiteral("听力自测"), "listening", std::move(places),
                        std::move(clock), seed),
      seed_(seed) {
  askPage_ = new QWidget(pages);
  askPage_->setFocusPolicy(Qt::StrongFocus);
  askPage_->setAccessibleName(QStringLiteral("听力自测：听读音，按 1 到 4 选出意思"));
  prompt = new QLabel(askPage_);
  prompt->setAlignment(Qt::AlignCenter);
  QFont big = prompt->font();
  big.setPointSize(18);
  prompt->setFont(big);
  auto* grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto* button = new QPushButton(askPage_);
    button->setMinimumHeight(48);
    options[static_cast<std::size_t>(i)] = button;
    grid->addWidget(button, i / 2, i % 2);
    connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });
  }
  verdict = new QLabel(askPage_);
  verdict->setTextFormat(Qt::RichText);
  verdict->setAlignment(Qt::AlignCenter);
  verdict->setWordWrap(true);
  QHBoxLayout* tools = makeTools(askPage_);
  auto* layout = new QVBoxLayout(askPage_);
  layout->addWidget(prompt);
  layout->addLayout(grid);
  layout->addWidget(verdict);
  layout->addStretch(1);
  layout->addLayout(tools);
  pages->insertWidget(0, askPage_);
}

QString ListeningWindow::unsuitable() const {
  if (lesson_.entries.size() >= 2) return {};
  return QStringLiteral(
      "这一课只有 1 个词条，没有可以比较的意思，不能做听力自测。请在“选 课”中选择词条更多的课。");
}

void ListeningWindow::beginRound() {
  round_.emplace(roundOrder(), seed_++);
  heading->setText(QStringLiteral("%1：共 %2 题。听读音，选出它的意思（按 1 到 4）。")
                       .arg(QString::fromStdU16String(lesson_.name))
                       .arg(round_->total()));
  pages->setCurrentWidget(askPage_);
  ask();
}

void ListeningWindow::ask() {
  answered_ = false;
  const study::Question& question = round_->current();
  for (std::size_t i = 0; i < options.size(); ++i) {
    QPushButton* button = options[i];
    button->setVisible(i < question.options.size());
    button->setEnabled(true);
    if (i < question.options.size()) {
      button->setText(
          QStringLiteral("%1　%2").arg(i + 1).arg(QString::fromStdU16String(question.options[i])));
    }
  }
  verdict->clear();
  tally->setText(QStringLiteral("答对 %1 / %2").arg(round_->right()).arg(round_->total()));
  askPage_->setFocus();
  prompt->setText(QStringLiteral("请听读音"));
  speak(QString::fromStdU16String(question.entry.line1));  // else showTextForSound
}

void ListeningWindow::showTextForSound() {
  if (const study::Entry* entry = asked()) prompt->setText(QString::fromStdU16String(entry->line1));
}

const study::Entry* ListeningWindow::asked() const {
  const bool asking = pages->currentWidget() == askPage_ && round_ && !round_->done();
  return asking ? &round_->current().entry : nullptr;
}

void ListeningWindow::choose(int option) {
  if (!round_ || round_->done() || answered_) return;
  const study::Question question = round_->current();
  if (option >= static_cast<int>(question.options.size())) return;
  const bool right = round_->answer(option);
  answered_ = true;
  for (QPushButton* button : options) button->setEnabled(false);
  verdict->setText((right ? QStringLiteral("<span style=\"color:#1a7f37\">✓ 正确</span>")
                          : QStringLiteral("<span style=\"color:#c00000\">✗ 错了</span>")) +
                   QStringLiteral("：%1　%2<br>（按 Enter 继续）")
                       .arg(QString::fromStdU16String(question.entry.line1).toHtmlEscaped(),
                            QString::fromStdU16String(question.entry.line2).toHtmlEscaped()));
  askPage_->setFocus();
}

void ListeningWindow::finish() {
  const QString missed = EntriesText(round_->missed());
  finishRound({0, {}, {}, round_->right(), round_->total(), 0, {}, {}},
              QStringLiteral("听力自测结束：%1 / %2").arg(round_->right()).arg(round_->total()) +
                  QStringLiteral("，用时 %1").arg(DurationText(roundTime_.elapsed())) +
                  (missed.isEmpty() ? QStringLiteral("，全部答对！")
                                    : QStringLiteral("。答错的词：") + missed));
}

void ListeningWindow::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && pages->currentWidget() == askPage_ && round_) {
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_4 && !answered_) {
      choose(key - Qt::Key_1);
      return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && answered_) {
      round_->done() ? finish() : ask();
      return;
    }
  }
  SpokenRoundWindow::keyPressEvent(event);
}

}  // namespace studydesk
