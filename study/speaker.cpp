// SPDX-License-Identifier: MIT
#include "speaker.h"

namespace studydesk {

Speaker::Speaker(study::Voice* voice, QObject* parent) : QObject(parent), voice_(voice) {
  connect(&player_, &desk::PcmPlayer::failed, this,
          [this] { emit cannotSpeak(QStringLiteral("声音系统出错")); });
  aheadTimer_.setSingleShot(true);
  connect(&aheadTimer_, &QTimer::timeout, this, &Speaker::makeNextAhead);
}

bool Speaker::say(const QString& english, study::Pace pace) {
  if (!voice_) {
    emit cannotSpeak(QStringLiteral("没有可用的英语语音"));
    return false;
  }
  const suite::PcmWave* wave = made(english, pace);
  if (!wave) {
    emit cannotSpeak(QStringLiteral("无法合成“%1”的读音").arg(english));
    return false;
  }
  if (!player_.play(*wave)) {
    emit cannotSpeak(QStringLiteral("没有可用的声音输出设备"));
    return false;
  }
  ++wordsSaid_;
  return true;
}

void Speaker::prepare(const QStringList& english) {
  ahead_ = english;
  if (voice_) aheadTimer_.start(0);
}

const suite::PcmWave* Speaker::made(const QString& english, study::Pace pace) {
  auto found = spoken_.find({english, pace});
  if (found == spoken_.end()) {
    auto wave = voice_->speak(english.toStdString(), pace);
    if (!wave || wave->samples.empty()) return nullptr;
    found = spoken_.emplace(std::pair{english, pace}, std::move(*wave)).first;
  }
  return &found->second;
}

void Speaker::makeNextAhead() {
  while (!ahead_.isEmpty()) {
    const QString english = ahead_.takeFirst();
    if (spoken_.count({english, study::Pace::Normal})) continue;
    made(english, study::Pace::Normal);
    break;
  }
  if (!ahead_.isEmpty()) aheadTimer_.start(0);
}

}  // namespace studydesk
