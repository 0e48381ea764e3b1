// SPDX-License-Identifier: MIT
// What the listening and typing activities share: the chosen lesson, the spoken word with
// text standing in when it cannot be heard, and the end of a round, kept in the store
// with this learner's history of the activity as a chart.
#pragma once

#include <QPushButton>

#include "end_page.h"
#include "handoff_lesson.h"
#include "round_end.h"
#include "study_window.h"

namespace studydesk {

class RoundWindow : public StudyWindow {
  Q_OBJECT

 public:
  RoundWindow(const QString& activity, const study::RoundKind& kind, suite::FilePlaces places,
              Clock clock, study::Voice* voice);

  // Reads the hand-off file, opens the store and begins a round, or says why not.
  void start();

  QLabel* summary = nullptr;  // the page of the end, or of why there is no round
  QPushButton* againButton = nullptr;
  QPushButton* closeButton = nullptr;

 protected:
  // Why this lesson cannot make a round of the activity; empty when it can.
  virtual QString unsuitable() const { return {}; }
  virtual void beginRound() = 0;
  // Says `english`, or shows its text in its place when it cannot be heard.
  void say(const QString& english, study::Pace pace = study::Pace::Normal);
  // Shows the text of the word asked for in place of its sound.
  virtual void showTextForSound() {}
  void soundLost() override { showTextForSound(); }
  // Keeps the round and shows the end page: `text`, whether the round was kept, then the
  // learner's history.
  void finishRound(study::RoundResult result, const QString& text);
  void keyPressEvent(QKeyEvent* event) override;

  study::HandOffLesson lesson_;

 private:
  study::RoundKind kind_;
  suite::FilePlaces places_;
  EndPage* end_ = nullptr;
};

// A round's end as its page says it: "`title`：right / total，用时 …", then `allRight` when
// nothing was missed, else `missedHeading` and the missed entries, one a line.
QString RoundEndText(const QString& title, int right, int total, qint64 millis,
                     const std::vector<study::Entry>& missed, const QString& allRight,
                     const QString& missedHeading);

}  // namespace studydesk
