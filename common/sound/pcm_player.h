// SPDX-License-Identifier: MIT
// Plays PCM samples on the default sound output without blocking the window. One output
// stream is opened ahead of the first sound (or by it) and kept open, idle, between sounds:
// PulseAudio reads a stream opened within about two seconds of the last one's closing only
// for its first buffer and then holds it back (a word replayed 2 s apart was heard for
// 0.1 s of its 0.57 s, as was paplay's for 0.28 s), and a sink that had no stream, or was
// suspended, runs its first two seconds with up to two seconds of buffering, whatever the
// new stream asks for (a sound is then heard up to 1.9 s late). An open stream takes a
// new sound at once, from the next few tens of milliseconds. Each play starts from the
// first sample and replaces what was still playing. With no output device it plays
// nothing.
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

  // Opens the output for sounds in `wave`'s format without playing anything, so that the
  // server has settled on a short latency by the time the first sound comes. False when
  // there is no sound output.
  bool prepare(const suite::PcmWave& wave);
  // False when there is no sound output to play on.
  bool play(const suite::PcmWave& wave);
  // Silences the output, keeping the stream open for the next sound.
  void silence();
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
