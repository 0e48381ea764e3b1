// SPDX-License-Identifier: MIT
// 课文初记, first memorising: the chosen lesson's entries one card at a time, graded until
// each is known, then handed to the review schedule.
#pragma once

#include <QProgressBar>
#include <memory>
#include <optional>

#include "card_window.h"
#include "learn_session.h"

namespace studydesk {

class LearnWindow : public CardWindow {
  Q_OBJECT

 public:
  LearnWindow(suite::FilePlaces places, Clock clock, study::Voice* voice);

  // Reads the hand-off file, opens the store and shows the first card, or says why not.
  void start();

  QProgressBar* progress = nullptr;

 protected:
  study::CardSession* session() override;
  void draw() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void begin(bool everyCard);

  suite::FilePlaces places_;
  QString lessonName_;
  std::optional<study::LearnSession> session_;
};

}  // namespace studydesk
