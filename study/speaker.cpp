// SPDX-License-Identifier: MIT
#include "speaker.h"

namespace studydesk {

Speaker::Speaker(study::Voice* voice, QObject* parent) : QObject(parent), voice_(voice) {
  connect(&player_, &desk::PcmPlayer::failed, this,
          [this] { emit cannotSpeak(QStringLiteral("声音系统出错")); });
}

bool Speaker::say(const QString& english, study::Pace pace) {
  if (!voice_) {
    emit cannotSpeak(QStringLiteral("没有可用的英语语音"));
    return false;
  }
  auto found = spoken_.find({english, pace});
  if (found == spoken_.end()) {
    auto wave = voice_->speak(english.toStdString(), pace);
    if (!wave || wave->samples.empty()) {
      emit cannotSpeak(QStringLiteral("无法合成“%1”的读音").arg(english));
      return false;
    }
    found = spoken_.emplace(std::pair{english, pace}, std::move(*wave)).first;
  }
  if (!player_.play(found->second)) {
    emit cannotSpeak(QStringLiteral("没有可用的声音输出设备"));
    return false;
  }
  ++wordsSaid_;
  return true;
}

}  // namespace studydesk
