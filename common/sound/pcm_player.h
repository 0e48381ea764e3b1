// SPDX-License-Identifier: MIT
// Plays PCM samples on the default sound output without blocking the window. One output
// stream is opened on the first play and kept open, idle, between sounds: PulseAudio
// reads a stream opened within about two seconds of the last one's closing only for its
// first buffer and then holds it back (a word replayed 2 s apart was heard for 0.1 s of
// its 0.57 s, as was paplay's for 0.28 s), while an open stream takes a new sound at
// once. Each play starts from the first sample and replaces what was still playing.
// With no output device it plays nothing.
#pragma once

#include <QAudioFormat>
#include <QAudioSink>
#include <QObject>
#include <memory>

#include "pcm_wave.h"

namespace desk {

class SoundFeed;

class PcmPlayer : public QObject {
  Q_OBJECT

 public:
  explicit PcmPlayer(QObject* parent = nullptr);
  ~PcmPlayer() override;

  // False when there is no sound output to play on.
  bool play(const suite::PcmWave& wave);
  // Silences the output and closes the stream.
  void stop();

 signals:
  // The sound system gave up on a play that had started.
  void failed();

 private:
  bool open(const QAudioFormat& format);

  std::unique_ptr<SoundFeed> feed_;
  std::unique_ptr<QAudioSink> sink_;
};

}  // namespace desk
