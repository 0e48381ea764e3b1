// SPDX-License-Identifier: MIT
#include "pcm_player.h"

#include <QAudioFormat>
#include <QMediaDevices>

namespace desk {
namespace {

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

PcmPlayer::PcmPlayer(QObject* parent) : QObject(parent) {}

PcmPlayer::~PcmPlayer() {
  stop();
}

bool PcmPlayer::play(const suite::PcmWave& wave) {
  stop();
  const QAudioDevice output = QMediaDevices::defaultAudioOutput();
  if (output.isNull() || wave.samples.empty()) return false;
  samples_ = QByteArray(reinterpret_cast<const char*>(wave.samples.data()),
                        static_cast<qsizetype>(wave.samples.size()));
  buffer_.setData(samples_);
  buffer_.open(QIODevice::ReadOnly);
  sink_ = std::make_unique<QAudioSink>(output, FormatOf(wave));
  connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State) {
    if (sink_ && sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError) {
      emit failed();
    }
  });
  sink_->start(&buffer_);
  return sink_->error() == QAudio::NoError;
}

void PcmPlayer::stop() {
  if (sink_) {
    sink_->disconnect(this);
    sink_->stop();
    sink_.reset();
  }
  buffer_.close();
}

}  // namespace desk
