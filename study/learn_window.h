// SPDX-License-Identifier: MIT
// 课文初记, first memorising: the chosen lesson's entries one card at a time, graded until
// each is known, then handed to the review schedule.
#pragma once

#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <optional>

#include "card_window.h"
#include "end_page.h"
#include "handoff_lesson.h"
#include "learn_session.h"

namespace studydesk {

class LearnWindow : public CardWindow {
  Q_OBJECT

 public:
  LearnWindow(suite::FilePlaces places, Clock clock);

  // Reads the hand-off file, opens the store and shows the first card, or says why not.
  void start();

  QProgressBar* progress = nullptr;
  QLabel* message = nullptr;           // the page of the end, or of no lesson
  QPushButton* againButton = nullptr;  // 再学一遍
  QPushButton* closeButton = nullptr;

 protected:
  void gradeCurrent(study::Grade grade) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void begin(bool everyCard);
  void showNext();

  suite::FilePlaces places_;
  QString lessonName_;
  std::vector<study::Card> lessonCards_;
  std::optional<study::LearnSession> session_;
  EndPage* end_ = nullptr;
  QElapsedTimer sitting_;
};

}  // namespace studydesk
