// SPDX-License-Identifier: MIT
// 听写训练, dictation: each entry spoken, the learner types it; a wrong answer shows what
// differed and comes back at the end of the round.
#pragma once

#include <QLineEdit>
#include <optional>

#include "round_window.h"
#include "rounds.h"

namespace studydesk {

class DictationWindow : public RoundWindow {
  Q_OBJECT

 public:
  DictationWindow(suite::FilePlaces places, Clock clock, std::uint32_t seed);

  QLabel* prompt = nullptr;  // what to write; line 2 when the word cannot be heard
  QLineEdit* input = nullptr;
  QLabel* feedback = nullptr;  // the mark, or what differed
  QLabel* tally = nullptr;
  QPushButton* repeatButton = nullptr;   // 再听一遍
  QPushButton* shuffleButton = nullptr;  // 打乱顺序, for the next round

 protected:
  void beginRound() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ask();
  void submit();
  void repeat();

  std::optional<study::DictationRound> round_;
  QWidget* askPage_ = nullptr;
  bool waitingAfterMiss_ = false;
  std::uint32_t seed_;
};

}  // namespace studydesk
