// SPDX-License-Identifier: MIT
// The course editor's book: lessons as runs, every edit and its undo, the checks, saving by
// the folder rule, the chooser's preview and CSV export.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "book_checks.h"
#include "book_edits.h"
#include "book_file.h"
#include "chinese_text.h"
#include "commands.h"
#include "csv_export.h"
#include "lesson_index.h"
#include "lesson_preview.h"
#include "module1.h"
#include "test_support.h"
#include "utf8.h"

namespace editor {
namespace {

using testsupport::TempDir;

std::string Utf8(const std::u16string& text) {
  return course::ToUtf8(text);
}

// A record in display text: book, lesson, English, Chinese, part of speech, column.
CourseRecord Entry(const std::vector<std::u16string>& display, std::uint32_t serial = 7) {
  auto record = testsupport::MakeRecord({}, serial);
  for (std::size_t i = 0; i < display.size(); ++i) {
    const auto stored = course::ScrambleText(display[i]);
    EXPECT_TRUE(stored) << Utf8(display[i]) << " has no stored form";
    record.texts[i] = stored.value_or(u"");
  }
  return record;
}

Book MakeBook(const std::vector<CourseRecord>& records) {
  course::RecordTable table;
  for (std::size_t i = 0; i < records.size(); ++i) table[i] = records[i];
  return Book(table);
}

// Lesson name and entry count of each run, as "A:2 B:1".
std::string Runs(const Book& book) {
  std::string out;
  for (const auto& lesson : book.lessons()) {
    if (!out.empty()) out.push_back(' ');
    out.append(Utf8(lesson.name)).append(":").append(std::to_string(lesson.count));
  }
  return out;
}

std::vector<std::string> EnglishLines(const Book& book) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < book.size(); ++i) lines.push_back(Utf8(book.text(i, kEnglishField)));
  return lines;
}

Book ThreeLessons() {
  return MakeBook({Entry({u"书", u"A", u"a1", u"一"}, 1), Entry({u"书", u"A", u"a2", u"二"}, 2),
                   Entry({u"书", u"B", u"b1", u"三"}, 3), Entry({u"书", u"C", u"c1", u"四"}, 4),
                   Entry({u"书", u"C", u"c2", u"五"}, 5)});
}

TEST(Book, TakesRecordsUpToTheLastUsedOneAndFindsTheRuns) {
  const Book book = ThreeLessons();
  EXPECT_EQ(book.size(), 5u);
  EXPECT_EQ(Runs(book), "A:2 B:1 C:2");
  EXPECT_EQ(book.table(), ThreeLessons().table());
}

TEST(BookEdits, EachEditAndItsInverseGiveTheBookBack) {
  struct Case {
    const char* what;
    std::function<std::optional<Splice>(const Book&)> edit;
    std::string runs;
    std::vector<std::string> english;
  };
  const auto lesson = [](const Book& b, std::size_t i) { return b.lessons()[i]; };
  const Case cases[] = {
      {"a cell changed",
       [](const Book& b) { return SetText(b, 2, kEnglishField, u"bee"); },
       "A:2 B:1 C:2",
       {"a1", "a2", "bee", "c1", "c2"}},
      {"entries inserted into a lesson",
       [](const Book& b) {
         return InsertEntries(b, 2, u"A", {{u"a3", u"六", u"n.", 1, {}}});
       },
       "A:3 B:1 C:2",
       {"a1", "a2", "a3", "b1", "c1", "c2"}},
      {"an entry removed",
       [](const Book& b) { return RemoveRecords(b, 0, 1); },
       "A:1 B:1 C:2",
       {"a2", "b1", "c1", "c2"}},
      {"a lesson removed: its neighbours stay apart",
       [&](const Book& b) { return RemoveRecords(b, lesson(b, 1).first, lesson(b, 1).count); },
       "A:2 C:2",
       {"a1", "a2", "c1", "c2"}},
      {"an entry moved down",
       [&](const Book& b) { return MoveEntry(b, lesson(b, 2), 3, +1); },
       "A:2 B:1 C:2",
       {"a1", "a2", "b1", "c2", "c1"}},
      {"a lesson renamed",
       [&](const Book& b) { return RenameLesson(b, lesson(b, 0), u"第一课"); },
       "第一课:2 B:1 C:2",
       {"a1", "a2", "b1", "c1", "c2"}},
      {"a lesson moved up",
       [&](const Book& b) { return MoveLesson(b, b.lessons(), 2, -1); },
       "A:2 C:2 B:1",
       {"a1", "a2", "c1", "c2", "b1"}},
      {"a lesson moved down",
       [&](const Book& b) { return MoveLesson(b, b.lessons(), 0, +1); },
       "B:1 A:2 C:2",
       {"b1", "a1", "a2", "c1", "c2"}},
      {"a lesson appended",
       [](const Book& b) { return AppendLesson(b, u"D", {}); },
       "A:2 B:1 C:2 D:1",
       {"a1", "a2", "b1", "c1", "c2", ""}},
  };
  for (const auto& c : cases) {
    Book book = ThreeLessons();
    const auto splice = c.edit(book);
    ASSERT_TRUE(splice) << c.what;
    book.apply(*splice);
    EXPECT_EQ(Runs(book), c.runs) << c.what;
    EXPECT_EQ(EnglishLines(book), c.english) << c.what;
    book.apply(splice->inverse());
    EXPECT_EQ(book.table(), ThreeLessons().table()) << c.what << ": undone";
  }
}

TEST(BookEdits, MovesStopAtTheEdges) {
  const Book book = ThreeLessons();
  const auto lessons = book.lessons();
  EXPECT_FALSE(MoveEntry(book, lessons[0], 0, -1));
  EXPECT_FALSE(MoveEntry(book, lessons[0], 1, +1)) << "out of its lesson";
  EXPECT_FALSE(MoveLesson(book, lessons, 0, -1));
  EXPECT_FALSE(MoveLesson(book, lessons, 2, +1));
}

TEST(BookEdits, NewRecordsTakeBookTextAndNumbersOfTheRecordBefore) {
  Book book = ThreeLessons();
  book.apply(AppendLesson(book, u"D", {{u"d1", u"六", u"", 1, {}}}));
  const auto& added = book.records().back();
  EXPECT_EQ(Utf8(book.text(5, kBookField)), "书");
  EXPECT_EQ(added.number1, book.records()[4].number1);
  EXPECT_EQ(added.number2, book.records()[4].number2);
  EXPECT_EQ(added.number3, book.records()[4].number3);
  book.apply(InsertEntries(book, 0, u"Z", {{u"z", u"七", u"", 1, {}}}, u"别的书"));
  EXPECT_EQ(Utf8(book.text(0, kBookField)), "别的书");
  EXPECT_EQ(book.records()[0].number1, book.records()[1].number1);

  Book empty;
  empty.apply(AppendLesson(empty, u"新课", {{u"x", u"叉", u"", 1, {}}}));
  EXPECT_EQ(empty.records()[0].number1, (std::array<std::uint8_t, 4>{}));
  EXPECT_EQ(Utf8(empty.text(0, kBookField)), "");
}

TEST(BookEdits, KeepField1AndTheNumbersOfEditedRecords) {
  Book book = ThreeLessons();
  const auto before = book.records()[1];
  book.apply(SetText(book, 1, kChineseField, u"两"));
  book.apply(RenameLesson(book, book.lessons()[0], u"甲"));
  EXPECT_EQ(book.records()[1].text(kBookField), before.text(kBookField));
  EXPECT_EQ(book.records()[1].number1, before.number1);
  EXPECT_EQ(book.records()[1].number3, before.number3);
  EXPECT_EQ(Utf8(book.text(1, kChineseField)), "两");
}

// "L12" and the like; appended, as operator+ on 16-bit strings upsets GCC 12's warnings.
std::u16string Numbered(std::u16string prefix, std::size_t n) {
  prefix.append(Number(n));
  return prefix;
}

std::vector<Rule> RulesFound(const Book& book) {
  std::vector<Rule> rules;
  for (const auto& finding : CheckBook(book)) rules.push_back(finding.rule);
  return rules;
}

TEST(BookChecks, EachRuleFindsItsFaultAndOnlyThat) {
  struct Case {
    const char* what;
    std::vector<CourseRecord> records;
    std::vector<Rule> rules;
    std::optional<std::size_t> record;
  };
  const Case cases[] = {
      {"a clean book",
       {Entry({u"", u"A", u"go", u"去"}), Entry({u"", u"A", u"be", u"是"})},
       {},
       {}},
      {"Chinese without English",
       {Entry({u"", u"A", u"go", u"去"}), Entry({u"", u"A", u"", u"是"})},
       {Rule::ChineseWithoutEnglish},
       1},
      {"English without Chinese",
       {Entry({u"", u"A", u"go", u"去"}), Entry({u"", u"A", u"be", u""})},
       {Rule::EnglishWithoutChinese},
       1},
      {"a letter no keyboard types",
       {Entry({u"", u"A", u"café", u"咖啡馆"})},
       {Rule::UntypableEnglish},
       0},
      // Dictation and typing take these as what a keyboard types.
      {"a typographic apostrophe", {Entry({u"", u"A", u"it’s", u"它是"})}, {}, {}},
      {"full-width letters", {Entry({u"", u"A", u"ｇｏ", u"去"})}, {}, {}},
      {"typographic quotes and a dash",
       {Entry({u"", u"A", u"“well-known”—yes", u"著名的"})},
       {},
       {}},
      {"a space at the end", {Entry({u"", u"A", u"go ", u"去"})}, {Rule::StraySpaces}, 0},
      {"a space at the start of the Chinese",
       {Entry({u"", u"A", u"go", u" 去"})},
       {Rule::StraySpaces},
       0},
      {"doubled spaces", {Entry({u"", u"A", u"give  up", u"放弃"})}, {Rule::StraySpaces}, 0},
      {"the same entry twice in a lesson",
       {Entry({u"", u"A", u"go", u"去"}), Entry({u"", u"A", u"be", u"是"}),
        Entry({u"", u"A", u"go", u"去"})},
       {Rule::RepeatedEntry},
       2},
      {"the same entry in two lessons is fine",
       {Entry({u"", u"A", u"go", u"去"}), Entry({u"", u"B", u"go", u"去"})},
       {},
       {}},
      {"a lesson name that comes back",
       {Entry({u"", u"A", u"go", u"去"}), Entry({u"", u"B", u"be", u"是"}),
        Entry({u"", u"A", u"do", u"做"})},
       {Rule::LessonNameComesBack},
       2},
  };
  for (const auto& c : cases) {
    const auto findings = CheckBook(MakeBook(c.records));
    EXPECT_EQ(RulesFound(MakeBook(c.records)), c.rules) << c.what;
    if (findings.empty()) continue;
    EXPECT_EQ(findings[0].record, c.record) << c.what;
    EXPECT_FALSE(findings[0].text.empty()) << c.what;
  }
}

TEST(BookChecks, CountLessonsAndEntriesAsTheChooserDoes) {
  std::vector<CourseRecord> records;
  for (std::uint32_t i = 0; i < course::kLessonSlots; ++i) {
    records.push_back(Entry({u"", Numbered(u"L", i), u"go", u"去"}));
  }
  EXPECT_EQ(RulesFound(MakeBook(records)), std::vector<Rule>{}) << "129 lessons are listed";
  records.push_back(Entry({u"", u"last", u"go", u"去"}));
  const auto findings = CheckBook(MakeBook(records));
  ASSERT_EQ(RulesFound(MakeBook(records)), std::vector<Rule>{Rule::TooManyLessons});
  EXPECT_EQ(findings[0].lesson, course::kLessonSlots);
  EXPECT_NE(Utf8(findings[0].text).find("“last”"), std::string::npos);

  std::vector<CourseRecord> full(course::kRecordSlots, Entry({u"", u"A", u"go", u"去"}));
  for (std::size_t i = 0; i < full.size(); ++i) {
    full[i].text(kEnglishField) = *course::ScrambleText(Numbered(u"w", i));
  }
  full.pop_back();
  EXPECT_EQ(RulesFound(MakeBook(full)), std::vector<Rule>{}) << "2984 entries are all listed";
  full.push_back(Entry({u"", u"A", u"x", u"叉"}));
  EXPECT_EQ(RulesFound(MakeBook(full)), std::vector<Rule>{Rule::TooManyEntries});
}

// Whether every lesson of a book can be listed is one rule: coursetool and the editor's
// checks must give the same verdict, also where a run of empty lesson names takes a slot.
TEST(BookChecks, CoursetoolAndTheEditorAgreeOnWhatTheChooserLists) {
  struct Case {
    const char* what;
    std::size_t lessons;
    bool emptyRunBetween;  // a record without a lesson name before the last lesson
    bool listed;
  };
  const Case cases[] = {
      {"128 lessons", 128, false, true},
      {"129 lessons and the empty records after them", 129, false, true},
      {"130 lessons", 130, false, false},
      {"128 lessons with an empty run between", 128, true, true},
      {"129 lessons with an empty run between", 129, true, false},
  };
  TempDir dir;
  for (const Case& c : cases) {
    std::vector<CourseRecord> records;
    for (std::size_t i = 0; i < c.lessons; ++i) {
      if (c.emptyRunBetween && i + 1 == c.lessons)
        records.push_back(Entry({u"", u"", u"be", u"是"}));
      records.push_back(Entry({u"", Numbered(u"L", i), u"go", u"去"}));
    }
    const Book book = MakeBook(records);
    const auto rules = RulesFound(book);
    const bool editorLists =
        std::find(rules.begin(), rules.end(), Rule::TooManyLessons) == rules.end();
    EXPECT_EQ(editorLists, c.listed) << c.what;

    const std::string path = dir.file("book.dat");
    ASSERT_TRUE(course::WriteCourseFile(path, book.table()).ok()) << c.what;
    std::ostringstream out, err;
    coursetool::Check(path, out, err);
    const bool toolLists = out.str().find("more lesson runs") == std::string::npos;
    EXPECT_EQ(toolLists, c.listed) << c.what << "\n" << out.str();
  }
}

TEST(BookFile, SavesWhereTheFolderRuleSaysAndSaysWhere) {
  struct Case {
    const char* what;
    bool appWritable;
    const char* savedTo;
    const char* appBookRuns;  // what the application folder's own copy then holds
  };
  const Case cases[] = {
      {"a portable folder", true, "app/c1.dat", "A:2 B:1 C:2 新课:1"},
      {"a system-wide install", false, "user/c1.dat", "A:2 B:1 C:2"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("app"));
    ASSERT_TRUE(course::WriteCourseFile(dir.file("app/c1.dat"), ThreeLessons().table()).ok());
    const suite::FilePlaces places(dir.file("app"), dir.file("user"), c.appWritable);
    const auto location = BookLocation::Fixed(places, "c1.dat");
    auto opened = OpenBookFile(location.path);
    ASSERT_TRUE(opened.status.ok()) << c.what;
    opened.book.apply(AppendLesson(opened.book, u"新课", {{u"new", u"新", u"adj.", 1, {}}}));
    const auto saved = SaveBook(opened.book, places, location);
    ASSERT_TRUE(saved.ok()) << c.what << ": " << saved.message();
    EXPECT_EQ(saved.path, dir.file(c.savedTo)) << c.what;
    EXPECT_EQ(Runs(OpenBookFile(places.readPath("c1.dat")).book), "A:2 B:1 C:2 新课:1") << c.what;
    EXPECT_EQ(Runs(OpenBookFile(dir.file("app/c1.dat")).book), c.appBookRuns) << c.what;
  }
}

TEST(BookFile, ASaveByAnotherWindowIsSeenBeforeSavingOverIt) {
  for (const bool appWritable : {true, false}) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("app"));
    ASSERT_TRUE(course::WriteCourseFile(dir.file("app/c1.dat"), ThreeLessons().table()).ok());
    const suite::FilePlaces places(dir.file("app"), dir.file("user"), appWritable);
    const auto location = BookLocation::Fixed(places, "c1.dat");
    const auto mine = OpenBookFile(location.path);
    auto theirs = OpenBookFile(location.path);
    EXPECT_FALSE(CheckBookOnDisk(places, location, mine.identity).changed) << appWritable;

    theirs.book.apply(AppendLesson(theirs.book, u"新课", {{u"new", u"新", u"", 1}}));
    suite::FileIdentity theirsSaved;
    ASSERT_TRUE(SaveBook(theirs.book, places, location, &theirsSaved).ok());
    const auto seen = CheckBookOnDisk(places, location, mine.identity);
    EXPECT_TRUE(seen.changed) << appWritable;
    EXPECT_EQ(seen.path, places.readPath("c1.dat")) << appWritable << ": the copy saved";
    EXPECT_FALSE(
        CheckBookOnDisk(places, BookLocation::Fixed(places, "c1.dat"), theirsSaved).changed)
        << appWritable << ": the window that saved goes on from what it wrote";

    std::filesystem::remove(places.readPath("c1.dat"));
    EXPECT_TRUE(CheckBookOnDisk(places, location, theirsSaved).changed)
        << appWritable << ": a book gone is not the one opened";
  }
}

TEST(BookFile, SaveAsWritesAnyPathAndRefusesABookTooLong) {
  TempDir dir;
  const Book book = ThreeLessons();
  ASSERT_TRUE(SaveBook(book, {}, BookLocation::AtPath(dir.file("out.dat"))).ok());
  EXPECT_EQ(OpenBookFile(dir.file("out.dat")).book.table(), book.table());
  EXPECT_FALSE(SaveBook(book, {}, BookLocation::AtPath(dir.file("none/out.dat"))).ok());

  Book tooLong;
  tooLong.apply(AppendLesson(
      tooLong, u"A",
      std::vector<ImportedEntry>(course::kRecordSlots + 1, {u"a", u"一", u"", 1, {}})));
  const auto refused = SaveBook(tooLong, {}, BookLocation::AtPath(dir.file("long.dat")));
  EXPECT_EQ(refused.error, EFBIG);
  EXPECT_FALSE(std::filesystem::exists(dir.file("long.dat")));
}

TEST(LessonPreview, ShowsTheLinesTheChooserWouldShow) {
  Book book = ThreeLessons();
  book.apply(InsertEntries(book, 2, u"A", {{u"", u"无英文", u"", 1, {}}}));
  const auto preview = PreviewLesson(book, u"A");
  EXPECT_TRUE(preview.listed);
  std::vector<std::string> lines;
  for (const auto& line : preview.lines) lines.push_back(Utf8(line));
  EXPECT_EQ(lines, (std::vector<std::string>{"a1", "一", "a2", "二"})) << "no English, not shown";
  EXPECT_FALSE(PreviewLesson(book, u"无此课").listed);
}

TEST(CsvExport, WritesUtf8WithAMarkQuotingWhatNeedsIt) {
  const Book book = MakeBook({Entry({u"书", u"A", u"red, ripe", u"熟\"透\"", u"adj."}),
                              Entry({u"书", u"B", u"go", u"去"})});
  EXPECT_EQ(ExportCsv(book),
            "\xEF\xBB\xBF课,英文,中文,词性,栏目\r\nA,\"red, ripe\",\"熟\"\"透\"\"\",adj.,\r\n"
            "B,go,去,,\r\n");
  const auto lessonB = book.lessons()[1];
  EXPECT_EQ(ExportCsv(book, &lessonB), "\xEF\xBB\xBF课,英文,中文,词性,栏目\r\nB,go,去,,\r\n");
}

}  // namespace
}  // namespace editor
