// SPDX-License-Identifier: MIT
// Every study window starts a sync behind itself when the sitting starts and when it ends,
// only for a store linked to a class server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>

#include "course_file.h"
#include "dictation_window.h"
#include "hub_link.h"
#include "learn_window.h"
#include "listening_window.h"
#include "review_window.h"
#include "sync_starter.h"
#include "test_support.h"
#include "typing_window.h"

namespace {

using testsupport::MakeRecord;
using testsupport::TempDir;

using Opener = std::function<std::unique_ptr<studydesk::StudyWindow>(const suite::FilePlaces&)>;

template <typename Window, typename... More>
Opener OpenerOf(More... more) {
  return [=](const suite::FilePlaces& places) -> std::unique_ptr<studydesk::StudyWindow> {
    auto window = std::make_unique<Window>(
        places, [] { return *study::ParseIso("2026-01-05T08:00:00Z"); }, nullptr, more...);
    window->show();
    window->start();
    return window;
  };
}

class WindowSync : public ::testing::Test {
 protected:
  void SetUp() override {
    course::RecordTable table;
    for (int i = 0; i < 3; ++i) {
      table[static_cast<std::size_t>(i)] =
          MakeRecord({"B", "L", "word" + std::to_string(i), "gloss" + std::to_string(i)});
    }
    ASSERT_TRUE(course::WriteCourseFile(app_.file("900_1.dat"), table).ok());
    saved_ = studydesk::WindowSyncStarter();
    studydesk::WindowSyncStarter() = {
        "/app/studytool", [this](const std::string& program, const std::vector<std::string>& args) {
          launched_.push_back(program);
          launched_.insert(launched_.end(), args.begin(), args.end());
          return true;
        }};
  }
  void TearDown() override { studydesk::WindowSyncStarter() = saved_; }

  suite::FilePlaces places() const {
    return suite::FilePlaces(app_.path().string(), app_.file("user"), true);
  }

  TempDir app_;
  studydesk::SyncStarter saved_;
  std::vector<std::string> launched_;
};

struct WindowCase {
  const char* name;
  Opener open;
};

const WindowCase kWindows[] = {
    {"课文初记", OpenerOf<studydesk::LearnWindow>()},
    {"复习回忆", OpenerOf<studydesk::ReviewWindow>()},
    {"听写训练", OpenerOf<studydesk::DictationWindow>(1u)},
    {"听力自测", OpenerOf<studydesk::ListeningWindow>(1u)},
    {"休闲打字", OpenerOf<studydesk::TypingWindow>()},
};

TEST_F(WindowSync, StartsWhenTheSittingStartsAndWhenItEnds) {
  const std::string store = app_.file("study.db");
  const studysync::HubLink link{
      "127.0.0.1:8443", std::string(43, 'A') + "=", 1, "t", "1", "n", "c"};
  ASSERT_TRUE(studysync::WriteHubLink(studysync::HubLinkPathFor(store), link).ok());
  const std::vector<std::string> once = {"/app/studytool", "sync", store};
  for (const WindowCase& c : kWindows) {
    SCOPED_TRACE(c.name);
    launched_.clear();
    auto window = c.open(places());
    // Once the first card is on the screen, not before.
    EXPECT_TRUE(launched_.empty());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !launched_.empty(); }, 10'000));
    EXPECT_EQ(launched_, once);
    window->close();
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(launched_, twice);
  }
}

TEST_F(WindowSync, NothingStartsWithoutALinkBesideTheStore) {
  for (const WindowCase& c : kWindows) {
    SCOPED_TRACE(c.name);
    auto window = c.open(places());
    // Well past the moment a linked store's sync starts.
    EXPECT_FALSE(QTest::qWaitFor([this] { return !launched_.empty(); }, 1'000));
    window->close();
    EXPECT_TRUE(launched_.empty());
  }
}

}  // namespace
