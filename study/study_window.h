// SPDX-License-Identifier: MIT
// What every study window shares: a notice line for troubles, a heading, its pages, the
// learner's store, the speaker, Esc to close, and a size and place that fit the screen.
#pragma once

#include <QLabel>
#include <QStackedWidget>
#include <QWidget>
#include <functional>

#include "entry_phonetics.h"
#include "handoff_lesson.h"
#include "learner_store.h"
#include "speaker.h"

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
  // `voice` may be null (nothing can be said) and must outlive the window.
  StudyWindow(const QString& activity, Clock clock, study::Voice* voice);

  QLabel* notice = nullptr;   // troubles, one line each
  QLabel* heading = nullptr;  // what is being studied
  QStackedWidget* pages = nullptr;
  Speaker* speaker = nullptr;

  // Says a trouble once, however often it happens.
  void tell(const QString& text);

 protected:
  // Opens the learner's store where the folder rule says, telling any trouble; its check
  // for damage follows a moment later (checkStore), then, for a sound store, a sync behind
  // the window.
  void openStore(const suite::FilePlaces& places);
  void checkStore();
  // Starts a sync with the class server behind the window, when the store is linked to one.
  void syncBehind();
  static constexpr int kCheckAfterMillis = 300;
  // Says `english`; false (after telling why, once) when it cannot be heard.
  bool speak(const QString& english, study::Pace pace = study::Pace::Normal);
  // Reads the phonetics table of the books' folder, for phoneticsOf.
  void readPhonetics(const suite::FilePlaces& places);
  // The phonetics shown under `english`: the table's, else the voice's (see PhoneticsText).
  QString phoneticsOf(const QString& english) const;
  // The words likely to be said next, in order, made while the window is idle.
  void speakAhead(const QStringList& english);
  // The sound was lost while a word played.
  virtual void soundLost() {}
  void keyPressEvent(QKeyEvent* event) override;
  // The sitting ends: what it learned goes to the class server behind the closing window.
  void closeEvent(QCloseEvent* event) override;

  const QString activity_;
  Clock clock_;
  LearnerStore learner_;
  // What the learner is told to expect when words cannot be heard.
  QString withoutSound_;

 private:
  bool speechWorks_ = true;
  study::Voice* voice_;
  course::PhoneticsTable phonetics_;
};

}  // namespace studydesk
