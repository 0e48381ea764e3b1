// SPDX-License-Identifier: MIT
#include "dictation_window.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QVBoxLayout>

#include "phonetics_line.h"

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

// The phonetics on a line of their own, in a font that has the IPA.
QString PhoneticsHtml(const QString& phonetics) {
  if (phonetics.isEmpty()) return {};
  return QStringLiteral("<span style=\"font-family:'%1'\">%2</span><br>")
      .arg(PhoneticsFont(12).family(), phonetics.toHtmlEscaped());
}

// The event puts text into a line edit: a printable key without Ctrl or Alt, or an input
// method's commit.
bool TypesText(const QEvent* event) {
  if (event->type() == QEvent::InputMethod) {
    return !static_cast<const QInputMethodEvent*>(event)->commitString().isEmpty();
  }
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  return !key->text().isEmpty() && key->text().front().isPrint() &&
         !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

DictationWindow::DictationWindow(suite::FilePlaces places, Clock clock, study::Voice* voice,
                                 std::uint32_t seed)
    : SpokenRoundWindow(QStringLiteral("听写训练"), study::kDictationRound, std::move(places),
                        std::move(clock), voice, seed) {
  askPage_ = new QWidget(pages);
  position = new QLabel(askPage_);
  position->setAlignment(Qt::AlignCenter);
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
  QGridLayout* tools = makeTools(askPage_);
  auto* layout = new QVBoxLayout(askPage_);
  layout->addWidget(position);
  layout->addStretch(1);
  layout->addWidget(prompt);
  layout->addWidget(input);
  layout->addWidget(feedback);
  layout->addStretch(1);
  layout->addLayout(tools);
  pages->insertWidget(0, askPage_);
  connect(input, &QLineEdit::returnPressed, this, &DictationWindow::submit);
  input->installEventFilter(this);
}

void DictationWindow::beginRound() {
  session_.emplace(nextRound().entries, clock_());
  heading->setText(QStringLiteral("%1：共 %2 条。听读音，写出英文，按 Enter 确认。")
                       .arg(QString::fromStdU16String(lesson_.name))
                       .arg(session_->total()));
  pages->setCurrentWidget(askPage_);
  draw();
}

void DictationWindow::draw() {
  tally->setText(
      QStringLiteral("答对 %1 / %2").arg(session_->rightFirstTime()).arg(session_->total()));
  position->setText(
      QStringLiteral("第 %1 / %2 个").arg(session_->position()).arg(session_->total()));
  switch (session_->step()) {
    case study::RoundStep::Asking: {
      const auto& right = session_->lastRight();
      feedback->setText(right ? QStringLiteral("<span style=\"color:#1a7f37\">✓ %1</span>")
                                    .arg(QString::fromStdU16String(right->line1).toHtmlEscaped())
                              : QString());
      input->clear();
      input->setReadOnly(false);
      input->setFocus();
      prompt->setText(QStringLiteral("请写出听到的词"));
      say(QString::fromStdU16String(session_->current().line1));
      return;
    }
    case study::RoundStep::Verdict: {
      const study::Differences& d = session_->miss();
      const QString english = QString::fromStdU16String(session_->current().line1);
      feedback->setText(
          QStringLiteral(
              "✗ 你写的：%1<br>正确的：%2<br>%3%4<br>（按 Enter 继续，这个词稍后再听写）")
              .arg(Marked(d.typed, d.typedWrong), Marked(d.expected, d.expectedMissed),
                   PhoneticsHtml(phoneticsOf(english)),
                   QString::fromStdU16String(session_->current().line2).toHtmlEscaped()));
      input->setReadOnly(true);
      return;
    }
    case study::RoundStep::Finished: {
      finishRound(session_->result(),
                  RoundEndText(session_->endedEarly() ? QStringLiteral("听写提前结束")
                                                      : QStringLiteral("听写结束"),
                               session_->rightFirstTime(), session_->total(), session_->elapsed(),
                               session_->missed(), QStringLiteral("，全部一次写对！"),
                               QStringLiteral("。写错过的词：")));
      return;
    }
  }
}

void DictationWindow::showTextForSound() {
  // Text stands in for the sound when the word cannot be heard: its meaning.
  if (const study::Entry* entry = asked()) {
    prompt->setText(QStringLiteral("请写出：%1").arg(QString::fromStdU16String(entry->line2)));
  }
}

const study::Entry* DictationWindow::asked() const {
  return session_ && session_->underWay() ? &session_->current() : nullptr;
}

void DictationWindow::submit() {
  if (session_ && session_->submit(input->text().toStdU16String(), clock_())) draw();
}

void DictationWindow::keyPressEvent(QKeyEvent* event) {
  const bool midRound = asked() && session_->answered() > 0;
  if (event->key() == Qt::Key_Escape && !event->isAutoRepeat() && midRound) {
    askToEnd();
    return;
  }
  SpokenRoundWindow::keyPressEvent(event);
}

void DictationWindow::askToEnd() {
  auto* box = new QMessageBox(QMessageBox::Question, windowTitle(), QStringLiteral("结束本轮？"),
                              QMessageBox::NoButton, this);
  box->setInformativeText(
      QStringLiteral("已经写过的 %1 个词会作为这一轮的成绩保存。").arg(session_->answered()));
  QPushButton* end = box->addButton(QStringLiteral("结束（Enter）"), QMessageBox::AcceptRole);
  box->setEscapeButton(box->addButton(QStringLiteral("继续听写（Esc）"), QMessageBox::RejectRole));
  box->setDefaultButton(end);
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QMessageBox::finished, this, [this, box, end] {
    if (box->clickedButton() == end && session_->endEarly()) {
      draw();
    } else {
      input->setFocus();
    }
  });
  box->open();
}

bool DictationWindow::eventFilter(QObject* watched, QEvent* event) {
  // Typing on while a miss is on show goes on to the next word, which the keys belong to;
  // so does what an input method commits.
  if (watched == input && session_ && session_->step() == study::RoundStep::Verdict &&
      TypesText(event)) {
    session_->submit({}, clock_());
    draw();
  }
  return SpokenRoundWindow::eventFilter(watched, event);
}

}  // namespace studydesk
