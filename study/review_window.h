// SPDX-License-Identifier: MIT
// 复习回忆, review and recall: the cards due from every lesson learned, most overdue first;
// the statistics and the settings are a key away.
#pragma once

#include <QPushButton>
#include <optional>

#include "card_window.h"
#include "file_places.h"
#include "review_session.h"

namespace studydesk {

class ReviewWindow : public CardWindow {
  Q_OBJECT

 public:
  ReviewWindow(suite::FilePlaces places, Clock clock, study::Voice* voice);

  void start();
  void showStatistics();
  // The settings dialog (D): when the learner's day starts.
  void showSettings();

  QPushButton* statisticsButton = nullptr;
  QPushButton* settingsButton = nullptr;

 protected:
  study::CardSession* session() override;
  void draw() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString endText() const;

  suite::FilePlaces places_;
  std::optional<study::ReviewSession> session_;
};

}  // namespace studydesk
