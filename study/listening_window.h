// SPDX-License-Identifier: MIT
// 听力自测, listening self-test: each entry spoken, not shown; its meaning is picked among
// up to four of the lesson's on keys 1-4.
#pragma once

#include <QPushButton>
#include <array>
#include <optional>

#include "listening_session.h"
#include "spoken_round_window.h"

namespace studydesk {

class ListeningWindow : public SpokenRoundWindow {
  Q_OBJECT

 public:
  ListeningWindow(suite::FilePlaces places, Clock clock, study::Voice* voice, std::uint32_t seed);

  QLabel* prompt = nullptr;  // what to listen to; line 1 when it cannot be heard
  std::array<QPushButton*, 4> options{};
  QLabel* verdict = nullptr;

 protected:
  QString unsuitable() const override;
  void beginRound() override;
  const study::Entry* asked() const override;
  void showTextForSound() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void choose(int option);
  void draw();
  void drawOptions();

  std::optional<study::ListeningSession> session_;
  QWidget* askPage_ = nullptr;
};

}  // namespace studydesk
