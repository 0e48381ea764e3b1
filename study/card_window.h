// SPDX-License-Identifier: MIT
// What the two memorising windows share: the card on show, its English line spoken when
// it appears (Ctrl+R again), its meaning shown with Space or Enter, then graded on keys
// 1-4; the last answers taken back with Ctrl+Z. The session decides; the window forwards
// keys and draws.
#pragma once

#include <QHBoxLayout>

#include "answer_recorder.h"
#include "card_panel.h"
#include "card_session.h"
#include "end_page.h"
#include "study_window.h"

namespace studydesk {

class CardWindow : public StudyWindow {
  Q_OBJECT

 public:
  CardWindow(const QString& activity, Clock clock, study::Voice* voice, const QString& againText);

  CardPanel* card = nullptr;  // the first page
  QLabel* message = nullptr;  // the page of the end, or of nothing to study
  QPushButton* againButton = nullptr;
  QPushButton* closeButton = nullptr;
  QPushButton* undoButton = nullptr;

  // Takes back the last answer of this sitting (Ctrl+Z).
  void undo();

 protected:
  // The sitting, once there is one.
  virtual study::CardSession* session() = 0;
  // Draws what the sitting has on show.
  virtual void draw() = 0;
  // Shows the card the sitting has on show, with the interval each grade would give.
  void present();
  void keyPressEvent(QKeyEvent* event) override;

  EndPage* end_ = nullptr;
  QHBoxLayout* tools_ = nullptr;  // the row of the undo button, under the pages

 private:
  study::CardStep step();
  // Grows the window for a card whose lines do not fit, as far as the screen allows.
  void makeRoom();
  void revealCurrent();
  void gradeCurrent(study::Grade grade);
  void sayCard();
};

// Why some answers were not saved, or nothing when all were: "有 2 个回答没有保存：磁盘已满。".
QString NotSavedText(const study::AnswerTally& tally);

}  // namespace studydesk
