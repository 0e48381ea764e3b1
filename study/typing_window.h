// SPDX-License-Identifier: MIT
// 休闲打字, leisure typing: the lesson's English lines as one text, typed beneath it, each
// character shown right or wrong at once, with live speed, accuracy and time; the text
// scrolls to keep the line being typed in view.
#pragma once

#include <QTextEdit>
#include <QTimer>
#include <optional>

#include "round_window.h"
#include "typing_session.h"

namespace studydesk {

class TypingWindow : public RoundWindow {
  Q_OBJECT

 public:
  TypingWindow(suite::FilePlaces places, Clock clock, study::Voice* voice);

  QTextEdit* text = nullptr;  // the text, typed part marked
  QLabel* figures = nullptr;  // speed, accuracy, time

 protected:
  void beginRound() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showProgress();
  void finish();

  std::optional<study::TypingSession> session_;
  QWidget* typePage_ = nullptr;
  QTimer ticker_;
};

}  // namespace studydesk
