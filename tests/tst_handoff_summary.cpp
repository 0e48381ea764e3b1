// SPDX-License-Identifier: MIT
// What the study programs' stand-in reads from the hand-off file.
#include <gtest/gtest.h>

#include "course_file.h"
#include "handoff_summary.h"
#include "test_support.h"

namespace {

using testsupport::MakeRecord;

TEST(HandOffSummary, ShowsTheLessonOrSaysThereIsNone) {
  testsupport::TempDir dir;
  const std::string path = dir.file("900_1.dat");

  const auto missing = standins::SummariseHandOff(path);
  EXPECT_FALSE(missing.read.ok());
  EXPECT_TRUE(missing.lessonName.empty());

  // A lesson of two entries, then a slot an older, longer lesson left behind.
  course::RecordTable table;
  table[0] = MakeRecord({"", "W", "X", "Y"});
  table[1] = MakeRecord({"", "W", "Y", "X"});
  table[2] = MakeRecord({"", "Z", "", ""});
  ASSERT_TRUE(course::WriteCourseFile(path, table).ok());
  const auto lesson = standins::SummariseHandOff(path);
  EXPECT_TRUE(lesson.read.ok());
  EXPECT_EQ(lesson.lessonName, u"a");
  EXPECT_EQ(lesson.lines, (std::vector<std::u16string>{u"b", u"c", u"c", u"b"}));

  // Only stale slots: no lesson is handed off.
  table[0] = MakeRecord({"", "W", "", ""});
  table[1] = MakeRecord({"", "W", "", ""});
  ASSERT_TRUE(course::WriteCourseFile(path, table).ok());
  EXPECT_TRUE(standins::SummariseHandOff(path).lessonName.empty());
}

}  // namespace
