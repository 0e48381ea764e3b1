// SPDX-License-Identifier: MIT
// 听写训练, dictation: each entry spoken, the learner types it; a wrong answer shows what
// differed and comes back at the end of the round. Esc in the middle of a round asks
// whether to end it, keeping what was answered.
#pragma once

#include <QLineEdit>
#include <optional>

#include "dictation_session.h"
#include "spoken_round_window.h"

namespace studydesk {

class DictationWindow : public SpokenRoundWindow {
  Q_OBJECT

 public:
  DictationWindow(suite::FilePlaces places, Clock clock, study::Voice* voice, std::uint32_t seed);

  QLabel* position = nullptr;  // "第 n / N 个"
  QLabel* prompt = nullptr;    // what to write; line 2 when the word cannot be heard
  QLineEdit* input = nullptr;
  QLabel* feedback = nullptr;  // the mark, or what differed

 protected:
  void beginRound() override;
  const study::Entry* asked() const override;
  void showTextForSound() override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void submit();
  void draw();
  // Asks "结束本轮？": Enter ends the round as far as it went, Esc goes on.
  void askToEnd();

  std::optional<study::DictationSession> session_;
  QWidget* askPage_ = nullptr;
};

}  // namespace studydesk
