// SPDX-License-Identifier: MIT
#include "speaker.h"

#include "english_voice.h"

namespace studydesk {

Speaker::Speaker(QObject* parent) : QObject(parent) {
  connect(&player_, &desk::PcmPlayer::failed, this,
          [this] { emit cannotSpeak(QStringLiteral("声音系统出错")); });
}

bool Speaker::say(const QString& english) {
  auto found = spoken_.find(english);
  if (found == spoken_.end()) {
    auto wave = study::SpeakEnglish(english.toStdString());
    if (!wave) {
      emit cannotSpeak(QStringLiteral("无法合成“%1”的读音").arg(english));
      return false;
    }
    found = spoken_.emplace(english, std::move(*wave)).first;
  }
  if (!player_.play(found->second)) {
    emit cannotSpeak(QStringLiteral("没有可用的声音输出设备"));
    return false;
  }
  ++wordsSaid_;
  return true;
}

}  // namespace studydesk
