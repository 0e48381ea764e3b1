// SPDX-License-Identifier: MIT
// English words spoken aloud: the samples of a voice given from outside (none: nothing
// can be said) played through the default output. When a word cannot be heard the window
// is told why, and goes on with text.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
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
  // Makes `english` (words likely to be said next, in that order) at the normal pace while
  // the window is idle, one word per turn of the event loop, so that a key that asks for
  // one is answered without waiting for the voice. Replaces what was still to be made.
  void prepare(const QStringList& english);
  int wordsSaid() const { return wordsSaid_; }

 signals:
  void cannotSpeak(const QString& reason);

 private:
  // The samples of `english` at `pace`, made now unless made before; null when the voice
  // cannot make them.
  const suite::PcmWave* made(const QString& english, study::Pace pace);
  void makeNextAhead();

  study::Voice* voice_;
  desk::PcmPlayer player_;
  QStringList ahead_;
  QTimer aheadTimer_;
  // The lesson's words, each made once at each pace.
  std::map<std::pair<QString, study::Pace>, suite::PcmWave> spoken_;
  int wordsSaid_ = 0;
};

}  // namespace studydesk
