// SPDX-License-Identifier: MIT
// 复习回忆, review and recall: the cards due from every lesson learned, most overdue first;
// the last answer can be taken back, and the statistics are a key away.
#pragma once

#include <QPushButton>
#include <vector>

#include "card_window.h"
#include "file_places.h"

namespace studydesk {

class ReviewWindow : public CardWindow {
  Q_OBJECT

 public:
  ReviewWindow(suite::FilePlaces places, Clock clock);

  void start();
  // Takes back the last answer of this sitting (Ctrl+Z).
  void undo();
  void showStatistics();

  QLabel* message = nullptr;  // the page when nothing is due
  QPushButton* statisticsButton = nullptr;
  QPushButton* undoButton = nullptr;

 protected:
  void gradeCurrent(study::Grade grade) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showNext();

  struct Taken {
    std::int64_t answerId;
    study::Card card;  // as it was before the answer
  };

  suite::FilePlaces places_;
  std::optional<study::Card> current_;
  std::vector<Taken> taken_;
  QWidget* messagePage_ = nullptr;
};

}  // namespace studydesk
