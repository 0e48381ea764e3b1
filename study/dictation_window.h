// SPDX-License-Identifier: MIT
// 听写训练, dictation: each entry spoken, the learner types it; a wrong answer shows what
// differed and comes back at the end of the round.
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

  QLabel* prompt = nullptr;  // what to write; line 2 when the word cannot be heard
  QLineEdit* input = nullptr;
  QLabel* feedback = nullptr;  // the mark, or what differed

 protected:
  void beginRound() override;
  const study::Entry* asked() const override;
  void showTextForSound() override;

 private:
  void submit();
  void draw();

  std::optional<study::DictationSession> session_;
  QWidget* askPage_ = nullptr;
};

}  // namespace studydesk
