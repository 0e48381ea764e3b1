// SPDX-License-Identifier: MIT
#include "pcm_player.h"

#include <QMediaDevices>

#include "sound_feed.h"

namespace desk {
namespace {

// Short, so that the server never runs far ahead of the open stream (a new sound then
// starts at once, and nothing of its onset is rewound away), yet several of Qt's 20 ms
// feeding periods long, so a busy window does not starve it: at 40 ms nothing played.
constexpr qint64 kBufferMicroseconds = 80'000;

QAudioFormat FormatOf(const suite::PcmWave& wave) {
  QAudioFormat format;
  format.setSampleRate(wave.sampleRate);
  format.setChannelCount(wave.channels);
  format.setSampleFormat(wave.bitsPerSample == 8    ? QAudioFormat::UInt8
                         : wave.bitsPerSample == 16 ? QAudioFormat::Int16
                                                    : QAudioFormat::Int32);
  return format;
}

}  // namespace

PcmPlayer::PcmPlayer(QObject* parent) : QObject(parent), feed_(std::make_unique<SoundFeed>()) {}

PcmPlayer::~PcmPlayer() {
  stop();
}

bool PcmPlayer::prepare(const suite::PcmWave& wave) {
  const QAudioFormat format = FormatOf(wave);
  if (sink_ && sink_->format() == format && sink_->state() != QAudio::StoppedState) return true;
  return open(format);
}

bool PcmPlayer::play(const suite::PcmWave& wave) {
  if (wave.samples.empty() || !prepare(wave)) return false;
  const QAudioFormat format = sink_->format();
  // The silence after the sound carries its last samples out past what the server holds
  // back before it starts a stream (about its buffer's length), so short sounds play too.
  const char quiet = format.sampleFormat() == QAudioFormat::UInt8 ? char(0x80) : char(0);
  feed_->replace(QByteArray(reinterpret_cast<const char*>(wave.samples.data()),
                            static_cast<qsizetype>(wave.samples.size())),
                 sink_->bufferSize(), quiet);
  return sink_->error() == QAudio::NoError || sink_->error() == QAudio::UnderrunError;
}

bool PcmPlayer::open(const QAudioFormat& format) {
  stop();
  const QAudioDevice output = QMediaDevices::defaultAudioOutput();
  if (output.isNull()) return false;
  sink_ = std::make_unique<QAudioSink>(output, format);
  connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State) {
    if (sink_ && sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError) {
      emit failed();
    }
  });
  sink_->setBufferSize(format.bytesForDuration(kBufferMicroseconds));
  sink_->start(feed_.get());
  return sink_->error() == QAudio::NoError;
}

void PcmPlayer::silence() {
  feed_->clear();
}

void PcmPlayer::stop() {
  silence();
  if (sink_) {
    sink_->disconnect(this);
    sink_->stop();
    sink_.reset();
  }
}

}  // namespace desk
