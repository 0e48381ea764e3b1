// SPDX-License-Identifier: MIT
// What every study window shares: a notice line for troubles, a heading, its pages, the
// learner's store, and Esc to close.
#pragma once

#include <QLabel>
#include <QStackedWidget>
#include <QWidget>
#include <functional>

#include "handoff_lesson.h"
#include "learner_store.h"

namespace studydesk {

using Clock = std::function<study::Millis()>;

// What an activity that needs a lesson says when it has none: how to choose one, or why
// the chosen one cannot be read.
QString NoLessonNote(const study::HandOffLesson& lesson);

// How long something took, as a learner reads it: "2 分 5 秒", "40 秒".
QString DurationText(qint64 millis);

class StudyWindow : public QWidget {
  Q_OBJECT

 public:
  StudyWindow(const QString& activity, Clock clock);

  QLabel* notice = nullptr;   // troubles, one line each
  QLabel* heading = nullptr;  // what is being studied
  QStackedWidget* pages = nullptr;

  // Says a trouble once, however often it happens.
  void tell(const QString& text);

 protected:
  // Opens the learner's store where the folder rule says, telling any trouble.
  void openStore(const suite::FilePlaces& places);
  void keyPressEvent(QKeyEvent* event) override;

  const QString activity_;
  Clock clock_;
  LearnerStore learner_;
};

}  // namespace studydesk
