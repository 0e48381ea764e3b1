// SPDX-License-Identifier: MIT
// studydesk, the study programs: "studydesk learn" is 课文初记, "review" 复习回忆,
// "dictation" 听写训练, "listening" 听力自测 and "typing" 休闲打字.
#include <QApplication>
#include <QDateTime>
#include <QIcon>
#include <cstring>
#include <iostream>

#include "app_folder.h"
#include "dictation_window.h"
#include "flite_voice.h"
#include "learn_window.h"
#include "listening_window.h"
#include "qt_chinese.h"
#include "review_window.h"
#include "typing_window.h"
#include "window_placement.h"

namespace {

template <typename Window, typename... More>
int Run(More... more) {
  study::FliteVoice voice;  // made first, so that it outlives the window
  Window window(desk::PlacesOfRunningProgram(), study::NowMillis, &voice, more...);
  // Started before it is shown, so that the first word is heard as the first card appears
  // rather than after the store is opened and the word made behind a window on the screen.
  window.start();
  desk::ShowCentred(&window);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  desk::InstallQtChineseTexts(app);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/sun.svg")));
  const char* activity = argc > 1 ? argv[1] : "";
  if (std::strcmp(activity, "learn") == 0) return Run<studydesk::LearnWindow>();
  if (std::strcmp(activity, "review") == 0) return Run<studydesk::ReviewWindow>();
  // Each sitting shuffles differently.
  const auto seed = static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
  if (std::strcmp(activity, "dictation") == 0) return Run<studydesk::DictationWindow>(seed);
  if (std::strcmp(activity, "listening") == 0) return Run<studydesk::ListeningWindow>(seed);
  if (std::strcmp(activity, "typing") == 0) return Run<studydesk::TypingWindow>();
  std::cerr << "usage: studydesk learn|review|dictation|listening|typing\n";
  return 2;
}
