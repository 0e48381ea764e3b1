// SPDX-License-Identifier: MIT
// MMControl1: a hidden control in place of the old multimedia control. It takes the same
// property assignments in the same order and plays wave files without blocking the window.
// A missing file or a machine without sound plays nothing and reports nothing.
#pragma once

#include <QSoundEffect>
#include <QWidget>
#include <vector>

#include "sound_sequence.h"

namespace lumadesk {

class MMControl : public QWidget {
  Q_OBJECT

 public:
  explicit MMControl(QWidget* parent);

  void assign(const menu::MciAssignment& assignment);

  // What it was told, in order, and how many sounds it started: for tests.
  const std::vector<menu::MciAssignment>& received() const { return received_; }
  int playsStarted() const { return playsStarted_; }
  // The open sound file has been read and can be played.
  bool soundReady() const { return effect_.status() == QSoundEffect::Ready; }

 private:
  void runCommand(const std::string& command);

  QSoundEffect effect_;
  std::vector<menu::MciAssignment> received_;
  std::string deviceType_;
  std::string fileName_;
  bool open_ = false;
  int playsStarted_ = 0;
};

}  // namespace lumadesk
