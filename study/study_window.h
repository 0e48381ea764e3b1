// SPDX-License-Identifier: MIT
// What every study window shares: a notice line for troubles, a heading, its pages, the
// learner's store, the speaker, Esc to close, and a size and place that fit the screen.
#pragma once

#include <QLabel>
#include <QStackedWidget>
#include <QWidget>
#include <functional>

#include "learner_store.h"
#include "speaker.h"

namespace studydesk {

using Clock = std::function<study::Millis()>;

// What an activity that needs a lesson says when none has been chosen.
inline const QString kNoLessonNote = QStringLiteral("还没有选课：请先在“选 课”中选择一课。");

// How long something took, as a learner reads it: "2 分 5 秒", "40 秒".
QString DurationText(qint64 millis);

class StudyWindow : public QWidget {
  Q_OBJECT

 public:
  StudyWindow(const QString& activity, Clock clock);

  QLabel* notice = nullptr;   // troubles, one line each
  QLabel* heading = nullptr;  // what is being studied
  QStackedWidget* pages = nullptr;
  Speaker* speaker = nullptr;

  // Says a trouble once, however often it happens.
  void tell(const QString& text);
  // Shows the window centred on the screen the pointer is on (where the menu that started
  // it was clicked), no larger than that screen's free area.
  void showCentred();

 protected:
  // Opens the learner's store where the folder rule says, telling any trouble; its check
  // for damage follows a moment later (checkStore).
  void openStore(const suite::FilePlaces& places);
  void checkStore();
  static constexpr int kCheckAfterMillis = 300;
  // Says `english`; false (after telling why, once) when it cannot be heard.
  bool speak(const QString& english);
  // The sound was lost while a word played.
  virtual void soundLost() {}
  void keyPressEvent(QKeyEvent* event) override;

  const QString activity_;
  Clock clock_;
  LearnerStore learner_;
  // What the learner is told to expect when words cannot be heard.
  QString withoutSound_;

 private:
  bool speechWorks_ = true;
};

}  // namespace studydesk
