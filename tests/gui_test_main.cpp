// SPDX-License-Identifier: MIT
// GoogleTest with a QApplication speaking Chinese as the programs do, on the offscreen
// platform unless the caller chose one;
// for windows with web views the web engine is prepared first.
#include <gtest/gtest.h>

#include <QApplication>

#include "qt_chinese.h"

#ifdef SUITE_TEST_WEB_ENGINE
#include "web_engine_setup.h"
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef SUITE_TEST_WEB_ENGINE
  lumadesk::PrepareWebEngine();
#endif
  QApplication app(argc, argv);
  desk::InstallQtChineseTexts(app);  // as every program of the suite does
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
