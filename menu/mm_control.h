// SPDX-License-Identifier: MIT
// MMControl1: a hidden control in place of the old multimedia control. It takes the same
// property assignments in the same order and plays wave files without blocking the window.
// A missing or unplayable file or a machine without sound plays nothing and reports nothing.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "pcm_player.h"
#include "sound_sequence.h"

namespace lumadesk {

class MMControl : public QWidget {
  Q_OBJECT

 public:
  explicit MMControl(QWidget* parent);

  void assign(const menu::MciAssignment& assignment);
  // Opens the sound output for waves like the file `fileName` ahead of the first play, so
  // that the first is heard as promptly as the later ones. Nothing when it cannot be read.
  void prepare(const std::string& fileName);

  // What it was told, in order, and how many plays it was told to start while open: for
  // tests.
  const std::vector<menu::MciAssignment>& received() const { return received_; }
  int playsStarted() const { return playsStarted_; }
  // The open sound file has been read and can be played.
  bool soundReady() const { return wave_.has_value(); }

 private:
  void runCommand(const std::string& command);

  std::vector<menu::MciAssignment> received_;
  std::string deviceType_;
  std::string fileName_;
  bool open_ = false;
  int playsStarted_ = 0;
  std::optional<suite::PcmWave> wave_;
  desk::PcmPlayer player_;
};

}  // namespace lumadesk
