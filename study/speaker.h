// SPDX-License-Identifier: MIT
// English words spoken aloud: the samples of a voice given from outside (none: nothing
// can be said) played through the default output. When a word cannot be heard the window
// is told why, and goes on with text.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <utility>

#include "pcm_player.h"
#include "pcm_wave.h"
#include "voice.h"

namespace studydesk {

class Speaker : public QObject {
  Q_OBJECT

 public:
  // `voice` may be null, and must outlive the speaker.
  explicit Speaker(study::Voice* voice, QObject* parent = nullptr);

  // Starts speaking `english` at `pace` from its beginning, cutting off a word still
  // playing; false (after emitting cannotSpeak) when it cannot be heard.
  bool say(const QString& english, study::Pace pace = study::Pace::Normal);
  int wordsSaid() const { return wordsSaid_; }

 signals:
  void cannotSpeak(const QString& reason);

 private:
  study::Voice* voice_;
  desk::PcmPlayer player_;
  // The lesson's words, each made once at each pace.
  std::map<std::pair<QString, study::Pace>, suite::PcmWave> spoken_;
  int wordsSaid_ = 0;
};

}  // namespace studydesk
