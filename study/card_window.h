// SPDX-License-Identifier: MIT
// What the two memorising windows share: the card on show, its English line spoken when
// it appears (Ctrl+R again), its meaning shown with Space or Enter, then graded on keys
// 1-4. The session decides; the window forwards keys and draws.
#pragma once

#include "answer_recorder.h"
#include "card_panel.h"
#include "card_step.h"
#include "end_page.h"
#include "study_window.h"

namespace studydesk {

class CardWindow : public StudyWindow {
  Q_OBJECT

 public:
  CardWindow(const QString& activity, Clock clock, const QString& againText);

  CardPanel* card = nullptr;  // the first page
  QLabel* message = nullptr;  // the page of the end, or of nothing to study
  QPushButton* againButton = nullptr;
  QPushButton* closeButton = nullptr;

 protected:
  // Shows the card the session has on show, with the intervals each grade would give.
  void present(const study::Card& shown, const std::array<int, 4>& intervals);
  virtual study::CardStep step() const = 0;
  virtual void revealCurrent() = 0;
  virtual void gradeCurrent(study::Grade grade) = 0;
  virtual const study::Card* shownCard() const = 0;
  void keyPressEvent(QKeyEvent* event) override;

  EndPage* end_ = nullptr;

 private:
  void sayCard();
};

// Why some answers were not saved, or nothing when all were: "有 2 个回答没有保存：磁盘已满。".
QString NotSavedText(const study::AnswerTally& tally);

}  // namespace studydesk
