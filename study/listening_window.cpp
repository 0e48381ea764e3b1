// SPDX-License-Identifier: MIT
#include "listening_window.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace studydesk {
namespace {

const QString kRightStyle =
    QStringLiteral("QPushButton { background: #d7f0dc; border: 2px solid #1a7f37; color: #000; }");
const QString kWrongStyle =
    QStringLiteral("QPushButton { background: #f8d7d7; border: 2px solid #c00000; color: #000; }");

}  // namespace

ListeningWindow::ListeningWindow(suite::FilePlaces places, Clock clock, study::Voice* voice,
                                 std::uint32_t seed)
    : SpokenRoundWindow(QStringLiteral("听力自测"), study::kListeningRound, std::move(places),
                        std::move(clock), voice, seed) {
  askPage_ = new QWidget(pages);
  askPage_->setFocusPolicy(Qt::StrongFocus);
  askPage_->setAccessibleName(QStringLiteral("听力自测：听读音，按 1 到 4 选出意思"));
  prompt = new QLabel(askPage_);
  prompt->setAlignment(Qt::AlignCenter);
  prompt->setWordWrap(true);
  QFont big = prompt->font();
  big.setPointSize(18);
  prompt->setFont(big);
  auto* grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto* button = new QPushButton(askPage_);
    button->setMinimumHeight(48);
    // A long meaning with its mark must not widen the window past the screen.
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    options[static_cast<std::size_t>(i)] = button;
    grid->addWidget(button, i / 2, i % 2);
    connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });
  }
  verdict = new QLabel(askPage_);
  verdict->setTextFormat(Qt::RichText);
  verdict->setAlignment(Qt::AlignCenter);
  verdict->setWordWrap(true);
  QGridLayout* tools = makeTools(askPage_);
  auto* layout = new QVBoxLayout(askPage_);
  layout->addWidget(prompt);
  layout->addLayout(grid);
  layout->addWidget(verdict);
  layout->addStretch(1);
  layout->addLayout(tools);
  pages->insertWidget(0, askPage_);
}

QString ListeningWindow::unsuitable() const {
  if (study::ListeningSession::Suits(lesson_.entries)) return {};
  return QStringLiteral(
      "这一课只有 1 个词条，没有可以比较的意思，不能做听力自测。请在“选 课”中选择词条更多的课。");
}

void ListeningWindow::beginRound() {
  study::RoundSeeds::Round round = nextRound();
  session_.emplace(std::move(round.entries), round.seed, clock_());
  heading->setText(QStringLiteral("%1：共 %2 题。听读音，选出它的意思（按 1 到 4）。")
                       .arg(QString::fromStdU16String(lesson_.name))
                       .arg(session_->total()));
  pages->setCurrentWidget(askPage_);
  draw();
}

void ListeningWindow::drawOptions() {
  const study::Question& question = session_->current();
  const bool verdictShown = session_->step() == study::RoundStep::Verdict;
  for (std::size_t i = 0; i < options.size(); ++i) {
    QPushButton* button = options[i];
    const int place = static_cast<int>(i);
    button->setVisible(i < question.options.size());
    if (i >= question.options.size()) continue;
    QString text =
        QStringLiteral("%1　%2").arg(place + 1).arg(QString::fromStdU16String(question.options[i]));
    QString style;
    if (verdictShown && place == question.right) {
      text += QStringLiteral("　✓ 正确答案");
      style = kRightStyle;
    } else if (verdictShown && place == session_->picked()) {
      text += QStringLiteral("　✗ 你的选择");
      style = kWrongStyle;
    }
    button->setText(text);
    button->setStyleSheet(style);
    button->setEnabled(!verdictShown);
  }
}

void ListeningWindow::draw() {
  tally->setText(QStringLiteral("答对 %1 / %2").arg(session_->right()).arg(session_->total()));
  switch (session_->step()) {
    case study::RoundStep::Asking:
      drawOptions();
      verdict->clear();
      askPage_->setFocus();
      prompt->setText(QStringLiteral("请听读音"));
      say(QString::fromStdU16String(session_->current().entry.line1));
      return;
    case study::RoundStep::Verdict: {
      drawOptions();
      const study::Entry& entry = session_->current().entry;
      verdict->setText((session_->pickedRight()
                            ? QStringLiteral("<span style=\"color:#1a7f37\">✓ 正确</span>")
                            : QStringLiteral("<span style=\"color:#c00000\">✗ 错了</span>")) +
                       QStringLiteral("：%1　%2<br>（按 Enter 继续）")
                           .arg(QString::fromStdU16String(entry.line1).toHtmlEscaped(),
                                QString::fromStdU16String(entry.line2).toHtmlEscaped()));
      askPage_->setFocus();
      return;
    }
    case study::RoundStep::Finished: {
      finishRound(session_->result(),
                  RoundEndText(QStringLiteral("听力自测结束"), session_->right(), session_->total(),
                               session_->elapsed(), session_->missed(),
                               QStringLiteral("，全部答对！"), QStringLiteral("。答错的词：")));
      return;
    }
  }
}

void ListeningWindow::showTextForSound() {
  if (const study::Entry* entry = asked()) prompt->setText(QString::fromStdU16String(entry->line1));
}

const study::Entry* ListeningWindow::asked() const {
  return session_ && session_->underWay() ? &session_->current().entry : nullptr;
}

void ListeningWindow::choose(int option) {
  if (session_ && session_->choose(option, clock_())) draw();
}

void ListeningWindow::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && session_) {
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_4 && session_->step() == study::RoundStep::Asking) {
      choose(key - Qt::Key_1);
      return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        session_->step() == study::RoundStep::Verdict) {
      session_->goOn();
      draw();
      return;
    }
  }
  SpokenRoundWindow::keyPressEvent(event);
}

}  // namespace studydesk
