// SPDX-License-Identifier: MIT
// What both study windows share: a notice line for troubles, a heading, the card on show,
// the learner's store, and the keys 1-4, Space and Enter, Esc.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QStackedWidget>
#include <QWidget>
#include <functional>

#include "card_panel.h"
#include "learner_store.h"

namespace studydesk {

using Clock = std::function<study::Millis()>;

class StudyWindow : public QWidget {
  Q_OBJECT

 public:
  StudyWindow(const QString& activity, Clock clock);

  QLabel* notice = nullptr;   // troubles, one line each
  QLabel* heading = nullptr;  // what is being studied
  QStackedWidget* pages = nullptr;
  CardPanel* card = nullptr;  // the first page

  // Says a trouble once, however often it happens.
  void tell(const QString& text);

 protected:
  // Shows `card` with the intervals each grade would give it now.
  void present(const study::Card& shown, const QString& context);
  // Records the answer in the store, or works it out here when nothing can be saved; the
  // card's new state and the answer's id in the store (0 when not saved).
  study::Committed record(const study::Card& answered, study::Grade grade);
  void keyPressEvent(QKeyEvent* event) override;
  virtual void gradeCurrent(study::Grade grade) = 0;

  const QString activity_;
  Clock clock_;
  LearnerStore learner_;
  study::Fsrs fsrs_;
  QElapsedTimer shownFor_;  // how long the learner took over the card
};

}  // namespace studydesk
