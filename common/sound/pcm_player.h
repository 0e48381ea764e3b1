// SPDX-License-Identifier: MIT
// Plays PCM samples on the default sound output without blocking the window, through a
// new QAudioSink per play (QSoundEffect drops plays on this platform). Each play starts
// from the beginning and cuts off what was still playing. With no output device it plays
// nothing.
#pragma once

#include <QAudioSink>
#include <QBuffer>
#include <QObject>
#include <memory>

#include "pcm_wave.h"

namespace desk {

class PcmPlayer : public QObject {
  Q_OBJECT

 public:
  explicit PcmPlayer(QObject* parent = nullptr);
  ~PcmPlayer() override;

  // False when there is no sound output to play on.
  bool play(const suite::PcmWave& wave);
  void stop();

 signals:
  // The sound system gave up on a play that had started.
  void failed();

 private:
  QByteArray samples_;
  QBuffer buffer_;
  std::unique_ptr<QAudioSink> sink_;
};

}  // namespace desk
