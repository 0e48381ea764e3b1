// SPDX-License-Identifier: MIT
// What the study programs take from the hand-off file.
#include <gtest/gtest.h>

#include "course_file.h"
#include "handoff_lesson.h"
#include "test_support.h"

namespace {

using testsupport::MakeRecord;

TEST(HandOffLesson, TheLessonsEntriesOrNoLesson) {
  testsupport::TempDir dir;
  const std::string path = dir.file("900_1.dat");

  const auto missing = study::LoadHandOff(path);
  EXPECT_FALSE(missing.read.ok());
  EXPECT_TRUE(missing.name.empty());
  EXPECT_TRUE(missing.entries.empty());

  // A lesson of two entries, then a slot an older, longer lesson left behind.
  course::RecordTable table;
  table[0] = MakeRecord({"", "W", "X", "Y"});
  table[1] = MakeRecord({"", "W", "Y", "X"});
  table[2] = MakeRecord({"", "Z", "", ""});
  ASSERT_TRUE(course::WriteCourseFile(path, table).ok());
  const auto lesson = study::LoadHandOff(path);
  EXPECT_TRUE(lesson.read.ok());
  EXPECT_EQ(lesson.name, u"a");
  ASSERT_EQ(lesson.entries.size(), 2u);
  EXPECT_EQ(lesson.entries[0].line1, u"b");
  EXPECT_EQ(lesson.entries[0].line2, u"c");
  EXPECT_EQ(lesson.entries[1].line1, u"c");

  // A lesson whose first record has no English line yet keeps its name.
  table[0] = MakeRecord({"", "W", "", "Y"});
  ASSERT_TRUE(course::WriteCourseFile(path, table).ok());
  EXPECT_EQ(study::LoadHandOff(path).name, u"a");
  EXPECT_EQ(study::LoadHandOff(path).entries.size(), 1u);

  // Only stale slots: no lesson is handed off.
  table[0] = MakeRecord({"", "W", "", ""});
  table[1] = MakeRecord({"", "W", "", ""});
  ASSERT_TRUE(course::WriteCourseFile(path, table).ok());
  EXPECT_TRUE(study::LoadHandOff(path).name.empty());
  EXPECT_TRUE(study::LoadHandOff(path).entries.empty());
}

}  // namespace
