// SPDX-License-Identifier: MIT
// English words spoken aloud, offline: flite's voice played through the default output.
// When a word cannot be heard the window is told once why, and goes on with text.
#pragma once

#include <QObject>
#include <QString>
#include <map>

#include "pcm_player.h"
#include "pcm_wave.h"

namespace studydesk {

class Speaker : public QObject {
  Q_OBJECT

 public:
  explicit Speaker(QObject* parent = nullptr);

  // Starts speaking `english` from its beginning, cutting off a word still playing; false
  // (after emitting cannotSpeak) when it cannot be heard.
  bool say(const QString& english);
  int wordsSaid() const { return wordsSaid_; }

 signals:
  void cannotSpeak(const QString& reason);

 private:
  desk::PcmPlayer player_;
  std::map<QString, suite::PcmWave> spoken_;  // the lesson's words, each made once
  int wordsSaid_ = 0;
};

}  // namespace studydesk
