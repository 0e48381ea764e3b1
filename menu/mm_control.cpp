// SPDX-License-Identifier: MIT
#include "mm_control.h"

#include <QMediaDevices>

#include "pcm_wave.h"

namespace lumadesk {
namespace {

bool SameWord(const std::string& a, const char* b) {
  return QString::fromStdString(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QAudioFormat::SampleFormat SampleFormatOf(int bitsPerSample) {
  switch (bitsPerSample) {
    case 8:
      return QAudioFormat::UInt8;
    case 16:
      return QAudioFormat::Int16;
    default:
      return QAudioFormat::Int32;
  }
}

}  // namespace

MMControl::MMControl(QWidget* parent) : QWidget(parent) {}

MMControl::~MMControl() {
  stop();
}

void MMControl::assign(const menu::MciAssignment& assignment) {
  received_.push_back(assignment);
  const auto* text = std::get_if<std::string>(&assignment.value);
  if (!text) return;  // notify, wait, shareable and time format change nothing here
  switch (assignment.property) {
    case menu::MciProperty::DeviceType:
      deviceType_ = *text;
      break;
    case menu::MciProperty::FileName:
      fileName_ = *text;
      break;
    case menu::MciProperty::Command:
      runCommand(*text);
      break;
    default:
      break;
  }
}

void MMControl::runCommand(const std::string& command) {
  if (SameWord(command, "close")) {
    stop();
    samples_.clear();
    open_ = false;
  } else if (SameWord(command, "open")) {
    open();
  } else if (SameWord(command, "play") && open_) {
    ++playsStarted_;
    play();
  }
}

void MMControl::open() {
  open_ = SameWord(deviceType_, "WaveAudio");
  if (!open_) return;
  // Read whole at each opening: a few kilobytes, and always the file as it is now.
  const std::optional<suite::PcmWave> wave = suite::ReadWave(fileName_);
  if (!wave) return;
  format_.setSampleRate(wave->sampleRate);
  format_.setChannelCount(wave->channels);
  format_.setSampleFormat(SampleFormatOf(wave->bitsPerSample));
  samples_ = QByteArray(reinterpret_cast<const char*>(wave->samples.data()),
                        static_cast<qsizetype>(wave->samples.size()));
}

void MMControl::play() {
  stop();
  const QAudioDevice output = QMediaDevices::defaultAudioOutput();
  if (samples_.isEmpty() || output.isNull()) return;
  buffer_.setData(samples_);
  buffer_.open(QIODevice::ReadOnly);
  sink_ = std::make_unique<QAudioSink>(output, format_);
  sink_->start(&buffer_);
}

void MMControl::stop() {
  if (sink_) {
    sink_->stop();
    sink_.reset();
  }
  buffer_.close();
}

}  // namespace lumadesk
