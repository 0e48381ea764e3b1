// SPDX-License-Identifier: MIT
// What an output stream that stays open reads: the sound asked for last, followed by a
// little silence, then nothing until the next one. Unbuffered, so that a new sound
// replaces the old one from the very next read.
#pragma once

#include <QByteArray>
#include <QIODevice>

namespace desk {

class SoundFeed : public QIODevice {
 public:
  SoundFeed();

  // From the first byte of `samples`, then `silence` (bytes of the quiet value `quiet`),
  // dropping whatever of the previous sound was not read yet.
  void replace(const QByteArray& samples, qsizetype silence, char quiet);
  void clear();

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 maxSize) override;

 private:
  QByteArray bytes_;
  qsizetype read_ = 0;
};

}  // namespace desk
