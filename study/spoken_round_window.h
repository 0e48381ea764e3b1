// SPDX-License-Identifier: MIT
// What dictation and the listening test share: a word asked for by ear, said again with
// Ctrl+R or slower with Ctrl+Shift+R, the order shuffled for the next round with Ctrl+O, and the
// running tally.
#pragma once

#include <QGridLayout>

#include "round_window.h"
#include "voice.h"

namespace studydesk {

class SpokenRoundWindow : public RoundWindow {
  Q_OBJECT

 public:
  SpokenRoundWindow(const QString& activity, const study::RoundKind& kind, suite::FilePlaces places,
                    Clock clock, study::Voice* voice, std::uint32_t seed);

  QLabel* tally = nullptr;
  QPushButton* repeatButton = nullptr;   // 再听一遍
  QPushButton* slowButton = nullptr;     // 慢速再听
  QPushButton* shuffleButton = nullptr;  // 打乱顺序, for the next round

 protected:
  // The repeat and shuffle buttons and the tally, for the page asking the word: in two
  // rows, so that the window fits a small screen at twice the scale.
  QGridLayout* makeTools(QWidget* page);
  // The entries of a new round, in the order the shuffle button asks for, and its seed.
  study::RoundSeeds::Round nextRound();
  // The English line of the word being asked, or nothing between words.
  virtual const study::Entry* asked() const = 0;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void repeat(study::Pace pace);

  study::RoundSeeds seeds_;
};

}  // namespace studydesk
