// SPDX-License-Identifier: MIT
#include "card_panel.h"

#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>

#include "learn_session.h"
#include "phonetics_line.h"

namespace studydesk {
namespace {

constexpr const char* kGradeNames[] = {"重来", "困难", "良好", "简单"};

QLabel* Line(int pointSize, QWidget* parent) {
  auto* label = new QLabel(parent);
  QFont font = label->font();
  font.setPointSize(pointSize);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::NoTextInteraction);
  return label;
}

}  // namespace

CardPanel::CardPanel(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);  // the keys of the card reach the window through it
  setAccessibleName(QStringLiteral("词条卡片：空格显示释义，1 到 4 评分，Ctrl+R 再听"));
  context = Line(10, this);
  face_ = new QWidget;
  line1 = Line(26, face_);
  phonetics = Line(16, face_);
  phonetics->setFont(PhoneticsFont(16));
  partOfSpeech = Line(12, face_);
  partOfSpeech->setStyleSheet(QStringLiteral("color: #505050"));
  line2 = Line(20, face_);
  auto* faceLayout = new QVBoxLayout(face_);
  faceLayout->addStretch(1);
  faceLayout->addWidget(line1);
  faceLayout->addWidget(phonetics);
  faceLayout->addWidget(partOfSpeech);
  faceLayout->addWidget(line2);
  faceLayout->addStretch(1);
  // A long sentence scrolls inside the card instead of losing lines.
  scroll = new QScrollArea(this);
  scroll->setWidget(face_);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setFocusPolicy(Qt::NoFocus);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  showButton = new QPushButton(QStringLiteral("显示释义（空格）"), this);
  auto* grades = new QHBoxLayout;
  for (int g = 0; g < 4; ++g) {
    auto* button = new QPushButton(this);
    button->setMinimumHeight(52);
    gradeButtons[static_cast<std::size_t>(g)] = button;
    grades->addWidget(button);
    connect(button, &QPushButton::clicked, this,
            [this, g] { emit graded(static_cast<study::Grade>(g + 1)); });
  }
  connect(showButton, &QPushButton::clicked, this, &CardPanel::revealAsked);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(context);
  layout->addWidget(scroll, 1);
  layout->addWidget(showButton);
  layout->addLayout(grades);
}

void CardPanel::showCard(const QString& contextText, const QString& line1Text,
                         const QString& partOfSpeechText, const QString& line2Text,
                         const std::array<int, 4>& intervals) {
  context->setText(contextText);
  line1->setText(line1Text);
  partOfSpeech->setText(partOfSpeechText);
  partOfSpeech->setVisible(!partOfSpeechText.isEmpty());
  meaning_ = line2Text;
  line2->clear();
  line2->setVisible(false);
  for (int g = 0; g < 4; ++g) {
    const QString interval =
        QString::fromStdString(study::IntervalText(intervals[static_cast<std::size_t>(g)]));
    QPushButton* button = gradeButtons[static_cast<std::size_t>(g)];
    button->setText(
        QStringLiteral("%1 %2\n%3").arg(g + 1).arg(QString::fromUtf8(kGradeNames[g]), interval));
    button->setAccessibleName(
        QStringLiteral("%1，%2后复习").arg(QString::fromUtf8(kGradeNames[g]), interval));
    button->setEnabled(false);
  }
  showButton->setEnabled(true);
  revealed_ = false;
}

void CardPanel::showPhonetics(const QString& text) {
  phonetics->setText(text);
  phonetics->setVisible(!text.isEmpty());
}

void CardPanel::reveal() {
  revealed_ = true;
  line2->setText(meaning_);
  line2->setVisible(true);
  showButton->setEnabled(false);
  for (QPushButton* button : gradeButtons) button->setEnabled(true);
}

int CardPanel::lackingHeight() const {
  const QWidget* room = scroll->viewport();
  return std::max(0, face_->heightForWidth(room->width()) - room->height());
}

bool CardPanel::scrollWith(int key) {
  static constexpr std::pair<int, QAbstractSlider::SliderAction> kSteps[] = {
      {Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd},
      {Qt::Key_Up, QAbstractSlider::SliderSingleStepSub},
      {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
      {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
  };
  for (const auto& [stepKey, action] : kSteps) {
    if (stepKey != key) continue;
    scroll->verticalScrollBar()->triggerAction(action);
    return true;
  }
  return false;
}

}  // namespace studydesk
