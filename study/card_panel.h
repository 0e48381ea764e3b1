// SPDX-License-Identifier: MIT
// One card on show: its English line large with its part of speech, its Chinese line once
// shown, both scrolling inside the card when long (Down, Up, PageDown, PageUp), and the four
// grades with the interval each would give.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QWidget>
#include <array>

#include "fsrs.h"

namespace studydesk {

class CardPanel : public QWidget {
  Q_OBJECT

 public:
  explicit CardPanel(QWidget* parent = nullptr);

  // A new card, its meaning hidden; `intervals` in grade order.
  void showCard(const QString& context, const QString& line1, const QString& partOfSpeech,
                const QString& line2, const std::array<int, 4>& intervals);
  // The phonetics under the English line; none hides the line.
  void showPhonetics(const QString& text);
  void reveal();
  bool revealed() const { return revealed_; }
  // How much taller the card's lines are than the room they have now; 0 when they fit.
  int lackingHeight() const;
  // Scrolls the lines for Down, Up, PageDown or PageUp; false for any other key.
  bool scrollWith(int key);

  QLabel* context = nullptr;
  QLabel* line1 = nullptr;
  QLabel* phonetics = nullptr;
  QLabel* partOfSpeech = nullptr;
  QLabel* line2 = nullptr;
  QScrollArea* scroll = nullptr;  // the lines
  QPushButton* showButton = nullptr;
  std::array<QPushButton*, 4> gradeButtons{};

 signals:
  void revealAsked();
  void graded(study::Grade grade);

 private:
  QWidget* face_ = nullptr;
  bool revealed_ = false;
  QString meaning_;  // set on line2 only when shown, so that no screen reader tells it early
};

}  // namespace studydesk
