// SPDX-License-Identifier: MIT
#include "mm_control.h"

#include <QFile>
#include <QUrl>

namespace lumadesk {
namespace {

bool SameWord(const std::string& a, const char* b) {
  return QString::fromStdString(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

MMControl::MMControl(QWidget* parent) : QWidget(parent), effect_(this) {}

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
    effect_.stop();
    open_ = false;
  } else if (SameWord(command, "open")) {
    open_ = SameWord(deviceType_, "WaveAudio");
    const QUrl source =
        QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(fileName_)));
    if (open_ && effect_.source() != source) effect_.setSource(source);
  } else if (SameWord(command, "play") && open_) {
    // Without a sound device a finished sound may still count as playing: stop it first,
    // so that each play starts again from the beginning.
    effect_.stop();
    effect_.play();
    ++playsStarted_;
  }
}

}  // namespace lumadesk
