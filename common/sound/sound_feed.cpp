// SPDX-License-Identifier: MIT
#include "sound_feed.h"

#include <algorithm>
#include <cstring>

namespace desk {

SoundFeed::SoundFeed() {
  open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void SoundFeed::replace(const QByteArray& samples, qsizetype silence, char quiet) {
  bytes_ = samples + QByteArray(silence, quiet);
  read_ = 0;
  emit readyRead();  // the output stops asking while it has nothing; this wakes it
}

void SoundFeed::clear() {
  bytes_.clear();
  read_ = 0;
}

qint64 SoundFeed::bytesAvailable() const {
  return bytes_.size() - read_ + QIODevice::bytesAvailable();
}

qint64 SoundFeed::readData(char* data, qint64 maxSize) {
  const qsizetype count = std::min<qsizetype>(maxSize, bytes_.size() - read_);
  std::memcpy(data, bytes_.constData() + read_, static_cast<std::size_t>(count));
  read_ += count;
  return count;
}

qint64 SoundFeed::writeData(const char*, qint64) {
  return -1;
}

}  // namespace desk
