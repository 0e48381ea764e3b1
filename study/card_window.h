// SPDX-License-Identifier: MIT
// What the two memorising windows share: the card on show, graded on keys 1-4 once its
// meaning is shown with Space or Enter, and each answer recorded in the store.
#pragma once

#include <QElapsedTimer>

#include "card_panel.h"
#include "study_window.h"

namespace studydesk {

class CardWindow : public StudyWindow {
  Q_OBJECT

 public:
  CardWindow(const QString& activity, Clock clock);

  CardPanel* card = nullptr;  // the first page

 protected:
  // Shows `card` with the intervals each grade would give it now.
  void present(const study::Card& shown, const QString& context);
  // Records the answer in the store, or works it out here when nothing can be saved; the
  // card's new state and the answer's id in the store (0 when not saved).
  study::Committed record(const study::Card& answered, study::Grade grade);
  void keyPressEvent(QKeyEvent* event) override;
  virtual void gradeCurrent(study::Grade grade) = 0;

  study::Fsrs fsrs_;
  QElapsedTimer shownFor_;  // how long the learner took over the card
};

}  // namespace studydesk
