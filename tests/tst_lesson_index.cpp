// SPDX-License-Identifier: MIT
// Lessons as runs of equal names, and gathering one lesson's records.
#include <gtest/gtest.h>

#include "lesson_index.h"
#include "module1.h"
#include "test_support.h"

namespace course {
namespace {

using testsupport::MakeRecord;

// Lesson names are stored text; "W" shows as "a", "X" as "b", "Y" as "c".
RecordTable NamedTable(const std::vector<std::u16string>& names) {
  RecordTable table;
  for (std::size_t i = 0; i < names.size(); ++i) {
    table[i] = MakeRecord({"t1", "", "line" + std::to_string(i), "gloss", "t5", "t6"},
                          static_cast<std::uint32_t>(i + 1));
    table[i].text(2) = names[i];
  }
  return table;
}

RecordImage WithNames(const std::vector<std::u16string>& names) {
  return RecordImage(NamedTable(names));
}

struct IndexCase {
  const char* name;
  std::vector<std::u16string> names;
  std::vector<std::u16string> slots;  // the first slots of lessonNames
  std::vector<std::u16string> items;  // what the lesson list shows
};

TEST(LessonIndex, OneSlotPerRunOfEqualNames) {
  const IndexCase cases[] = {
      {"A A B B B C then empty records",
       {u"W", u"W", u"X", u"X", u"X", u"Y"},
       {u"W", u"X", u"Y", u"", u""},
       {u"a", u"b", u"c"}},
      {"a name that comes back takes a second slot",
       {u"W", u"X", u"W"},
       {u"W", u"X", u"W", u""},
       {u"a", u"b", u"a"}},
      {"an empty first name takes slot 0", {u"", u"W"}, {u"", u"W", u""}, {u"a"}},
      {"an empty file", {}, {u"", u""}, {}},
  };
  for (const auto& c : cases) {
    const LessonIndex index = BuildLessonIndex(WithNames(c.names));
    for (std::size_t slot = 0; slot < c.slots.size(); ++slot) {
      EXPECT_EQ(index.lessonNames[slot], c.slots[slot]) << c.name << ", slot " << slot;
    }
    EXPECT_EQ(index.listItems(), c.items) << c.name;
    EXPECT_FALSE(index.overflowed()) << c.name;
  }
}

TEST(LessonIndex, TheLastRecordIsNeverALesson) {
  RecordTable table;
  table[kRecordSlots - 1].text(2) = u"W";
  EXPECT_TRUE(BuildLessonIndex(RecordImage(table)).listItems().empty());
}

std::vector<std::u16string> RunNames(std::size_t runs, std::size_t records) {
  std::vector<std::u16string> names;
  for (std::size_t i = 0; i < records; ++i) {
    names.push_back(u"L" + std::u16string(1, static_cast<char16_t>(0x4e00 + i * runs / records)));
  }
  return names;
}

TEST(LessonIndex, HoldsAtMost129Runs) {
  const LessonIndex exact = BuildLessonIndex(WithNames(RunNames(129, kLessonRecords)));
  EXPECT_EQ(exact.runs, 129u);
  EXPECT_FALSE(exact.overflowed());
  EXPECT_EQ(exact.listItems().size(), 129u);

  // 129 lessons followed by empty records are already 130 runs.
  const LessonIndex over = BuildLessonIndex(WithNames(RunNames(129, 2000)));
  EXPECT_EQ(over.runs, 130u);
  EXPECT_TRUE(over.overflowed());
  EXPECT_EQ(over.listItems().size(), 129u);
}

TEST(GatherLesson, PacksMatchingRecordsFromSlotZeroInFileOrder) {
  const RecordImage course = WithNames({u"W", u"X", u"W", u"Y", u"W"});
  RecordTable lesson;
  EXPECT_EQ(GatherLesson(course, u"a", lesson), 3u);
  EXPECT_EQ(lesson[0].text(3), u"line0");
  EXPECT_EQ(lesson[1].text(3), u"line2");
  EXPECT_EQ(lesson[2].text(3), u"line4");
  EXPECT_EQ(lesson[2].number1, course[4].number1);
  EXPECT_EQ(lesson[2].number2, course[4].number2);
  for (const auto& record : lesson) EXPECT_EQ(record.number3, (std::array<std::uint8_t, 2>{}));
  EXPECT_TRUE(lesson[3].isEmpty());
}

TEST(GatherLesson, AShorterLessonLeavesTheOlderTailWithoutEntryLines) {
  std::vector<std::u16string> names(8, u"W");
  names.insert(names.end(), 5, u"X");
  const RecordImage course = WithNames(names);
  RecordTable lesson;
  ASSERT_EQ(GatherLesson(course, u"a", lesson), 8u);
  ASSERT_EQ(GatherLesson(course, u"b", lesson), 5u);

  EXPECT_EQ(lesson[4].text(3), u"line12");
  for (std::size_t slot = 5; slot < 8; ++slot) {
    EXPECT_TRUE(lesson[slot].text(3).empty());
    EXPECT_TRUE(lesson[slot].text(4).empty());
    EXPECT_EQ(lesson[slot].text(2), u"W") << "slot " << slot;
    EXPECT_EQ(lesson[slot].text(1), u"t1");
    EXPECT_EQ(lesson[slot].number1, course[slot].number1);
  }
  EXPECT_EQ(EntryLines(lesson).size(), 10u);
}

TEST(GatherLesson, TheLastRecordNeverJoinsALesson) {
  RecordTable course = NamedTable({u"W"});
  course[kRecordSlots - 1] = course[0];
  RecordTable lesson;
  EXPECT_EQ(GatherLesson(RecordImage(course), u"a", lesson), 1u);
}

TEST(EntryLines, TwoLinesPerEntryWithAFirstLine) {
  RecordTable lesson;
  lesson[0] = MakeRecord({"", "W", "W", "X"});
  lesson[1] = MakeRecord({"", "W", "", "lost"});  // no first line: not shown at all
  lesson[2] = MakeRecord({"", "W", "Y", ""});
  EXPECT_EQ(EntryLines(lesson), (std::vector<std::u16string>{u"a", u"b", u"c", u""}));
}

}  // namespace
}  // namespace course
