// SPDX-License-Identifier: MIT
// The course editor's editing session: each command's edit, the records it shows done and
// undone, and the edits it refuses with the reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "book_edits.h"
#include "editing_session.h"
#include "lesson_name.h"
#include "module1.h"
#include "test_support.h"
#include "utf8.h"

namespace editor {
namespace {

// Lessons A (a1 a2), B (b1), C (c1 c2): records 0 to 4.
CourseRecord Entry(std::u16string lesson, std::u16string english) {
  auto record = testsupport::MakeRecord({});
  record.text(kLessonField) = *course::ScrambleText(lesson);
  record.text(kEnglishField) = *course::ScrambleText(english);
  return record;
}

EditingSession ThreeLessons() {
  course::RecordTable table;
  const std::pair<const char16_t*, const char16_t*> records[] = {
      {u"A", u"a1"}, {u"A", u"a2"}, {u"B", u"b1"}, {u"C", u"c1"}, {u"C", u"c2"}};
  for (std::size_t i = 0; i < std::size(records); ++i) {
    table[i] = Entry(records[i].first, records[i].second);
  }
  course::PhoneticsTable phonetics;
  phonetics.put("a1", "ei");
  EditingSession session;
  session.start(Book(table), std::move(phonetics));
  return session;
}

std::string Runs(const Book& book) {
  std::string out;
  for (const auto& lesson : book.lessons()) {
    if (!out.empty()) out.push_back(' ');
    out.append(course::ToUtf8(lesson.name)).append(":").append(std::to_string(lesson.count));
  }
  return out;
}

TEST(EditingSession, EachCommandEditsAndSaysWhichRecordToShowDoneAndUndone) {
  struct Case {
    const char* what;
    std::function<std::optional<Edit>(const EditingSession&)> command;
    std::string runs;  // after the edit
    std::size_t focusAfter;
    std::size_t focusBefore;
  };
  const Case cases[] = {
      {"an entry added after the chosen one", [](auto& s) { return s.addEntry(0, 0); },
       "A:3 B:1 C:2", 1, 0},
      {"an entry added at the lesson's end without a chosen one",
       [](auto& s) { return s.addEntry(2, -1); }, "A:2 B:1 C:3", 5, 4},
      {"an entry removed: the next one is shown", [](auto& s) { return s.removeEntry(2, 0); },
       "A:2 B:1 C:1", 3, 3},
      {"the last entry of a lesson removed: the one before is shown",
       [](auto& s) { return s.removeEntry(0, 1); }, "A:1 B:1 C:2", 0, 1},
      {"the only entry of the first record removed", [](auto& s) { return s.removeEntry(0, 0); },
       "A:1 B:1 C:2", 0, 0},
      {"an entry moved down", [](auto& s) { return s.moveEntry(2, 0, +1); }, "A:2 B:1 C:2", 4, 3},
      {"an entry moved up", [](auto& s) { return s.moveEntry(0, 1, -1); }, "A:2 B:1 C:2", 0, 1},
      {"a lesson appended at the book's end", [](auto& s) { return s.addLesson(u"D").edit; },
       "A:2 B:1 C:2 D:1", 5, 4},
      {"a lesson renamed", [](auto& s) { return s.renameLesson(1, u"第二课").edit; },
       "A:2 第二课:1 C:2", 2, 2},
      {"a middle lesson removed: the next lesson is shown",
       [](auto& s) { return s.removeLesson(1); }, "A:2 C:2", 2, 2},
      {"the last lesson removed: the record before it is shown",
       [](auto& s) { return s.removeLesson(2); }, "A:2 B:1", 2, 3},
      {"a lesson moved up: it starts where the one above did",
       [](auto& s) { return s.moveLesson(2, -1); }, "A:2 C:2 B:1", 2, 3},
      {"a lesson moved down: it starts after the one below",
       [](auto& s) { return s.moveLesson(0, +1); }, "B:1 A:2 C:2", 1, 0},
      {"a cell changed", [](auto& s) { return s.setText(2, kEnglishField, u"bee").edit; },
       "A:2 B:1 C:2", 2, 2},
      {"entries imported into a lesson",
       [](auto& s) {
         return s.importEntries(1, u"", {{u"b2", u"二", u"", 1, {}}});
       },
       "A:2 B:2 C:2", 3, 2},
      {"entries imported as a new lesson",
       [](auto& s) {
         return s.importEntries(-1, u"D", {{u"d1", u"一", u"", 1, {}}});
       },
       "A:2 B:1 C:2 D:1", 5, 4},
  };
  for (const auto& c : cases) {
    EditingSession session = ThreeLessons();
    const auto edit = c.command(session);
    ASSERT_TRUE(edit) << c.what;
    EXPECT_EQ(edit->focusAfter, c.focusAfter) << c.what;
    EXPECT_EQ(edit->focusBefore, c.focusBefore) << c.what;
    session.book().apply(edit->splice);
    EXPECT_EQ(Runs(session.book()), c.runs) << c.what;
  }
}

TEST(EditingSession, CommandsWithNothingToDoGiveNoEdit) {
  const EditingSession session = ThreeLessons();
  const struct {
    const char* what;
    std::optional<Edit> edit;
  } cases[] = {
      {"an entry added without a lesson", session.addEntry(-1, 0)},
      {"an entry removed without a chosen entry", session.removeEntry(0, -1)},
      {"an entry removed past the lessons", session.removeEntry(3, 0)},
      {"the first entry moved up", session.moveEntry(0, 0, -1)},
      {"the last entry moved down", session.moveEntry(2, 1, +1)},
      {"the first lesson moved up", session.moveLesson(0, -1)},
      {"the last lesson moved down", session.moveLesson(2, +1)},
      {"a lesson removed without a chosen lesson", session.removeLesson(-1)},
      {"a cell set to what it holds", session.setText(0, kEnglishField, u"a1").edit},
      {"a lesson given its own name", session.renameLesson(0, u"A").edit},
      {"phonetics set to what they are", session.setPhonetics(0, u"ei").edit},
  };
  for (const auto& c : cases) EXPECT_FALSE(c.edit) << c.what;
}

TEST(EditingSession, RefusesWhatCannotBeStoredAndSaysWhy) {
  EditingSession session = ThreeLessons();
  session.book().apply(session.setText(4, kEnglishField, u"").edit->splice);
  const struct {
    const char* what;
    EditOutcome outcome;
    const char* problem;  // a part of the reason
  } cases[] = {
      {"a lesson name already taken", session.addLesson(u"B"), "B"},
      {"a rename to another lesson's name", session.renameLesson(0, u"C"), "C"},
      {"a text with a character the course file cannot store",
       session.setText(0, kEnglishField, u"a\U0001F600"), ""},
      {"phonetics of an entry without English", session.setPhonetics(4, u"x"), "请先填写英文"},
      {"phonetics longer than the table's line",
       session.setPhonetics(1, std::u16string(course::PhoneticsTable::kLongestLine + 1, u'e')),
       "字节"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(c.outcome.edit) << c.what;
    EXPECT_FALSE(c.outcome.problem.empty()) << c.what;
    EXPECT_NE(course::ToUtf8(c.outcome.problem).find(c.problem), std::string::npos) << c.what;
  }
}

TEST(EditingSession, APhoneticsEditCarriesTheChangeAndImportsBringTheirs) {
  const EditingSession session = ThreeLessons();
  const auto set = session.setPhonetics(1, u"ei tu");
  ASSERT_TRUE(set.edit);
  EXPECT_TRUE(set.edit->splice.inserted.empty() && set.edit->splice.removed.empty());
  ASSERT_EQ(set.edit->phonetics.size(), 1u);
  EXPECT_EQ(set.edit->phonetics[0].english, "a2");
  EXPECT_EQ(set.edit->phonetics[0].after, "ei tu");
  EXPECT_EQ(set.edit->focusAfter, 1u);

  const Edit imported = session.importEntries(-1, u"D", {{u"d1", u"一", u"", 1, u"di"}});
  ASSERT_EQ(imported.phonetics.size(), 1u);
  EXPECT_EQ(imported.phonetics[0].english, "d1");
}

TEST(EditingSession, FindsTheLessonOfARecord) {
  EditingSession session = ThreeLessons();
  const struct {
    std::size_t record;
    int lesson;
    int row;  // among the lesson's entries
  } cases[] = {{0, 0, 0}, {1, 0, 1}, {2, 1, 0}, {4, 2, 1}, {9, 2, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(session.rowOfRecord(c.record), c.lesson) << c.record;
    EXPECT_EQ(session.placeOf(c.record).lesson, c.lesson) << c.record;
    EXPECT_EQ(session.placeOf(c.record).row, c.row) << c.record;
  }
  EXPECT_EQ(session.lessonAt(3), nullptr);
  EXPECT_EQ(session.lessonAt(-1), nullptr);
  ASSERT_NE(session.lessonAt(1), nullptr);
  EXPECT_EQ(session.lessonAt(1)->first, 2u);
  session.start(Book(), {});
  EXPECT_EQ(session.rowOfRecord(0), -1);
  EXPECT_EQ(session.placeOf(0).row, -1);
}

void Apply(EditingSession& session, const EditOutcome& outcome) {
  ASSERT_TRUE(outcome.edit);
  session.book().apply(outcome.edit->splice);
  ASSERT_TRUE(MakeChanges(session.phonetics(), outcome.edit->phonetics));
  session.refreshLessons();
}

TEST(EditingSession, TheEntryTableShowsTheFieldsThenTheEnglishWordsPhonetics) {
  EditingSession session = ThreeLessons();
  Apply(session, session.setText(0, kChineseField, u"一"));
  Apply(session, session.setText(0, kPartOfSpeechField, u"n."));
  Apply(session, session.setText(0, kColumnField, u"栏"));
  Apply(session, session.setPhonetics(2, u"biː"));
  const struct {
    std::size_t record;
    int column;
    std::u16string shown;
  } cases[] = {
      {0, 0, u"a1"},
      {0, 1, u"一"},
      {0, 2, u"n."},
      {0, 3, u"栏"},
      {0, kPhoneticsColumn, u"ei"},
      {1, 1, u""},
      {1, kPhoneticsColumn, u""},
      {2, kPhoneticsColumn, u"biː"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(session.cell(c.record, c.column), c.shown) << c.record << " " << c.column;
  }
}

TEST(EditingSession, ACellEditGoesToItsFieldOrToTheEnglishWordsPhonetics) {
  const struct {
    int column;
    int field;  // -1: the phonetics
  } cases[] = {{0, kEnglishField},
               {1, kChineseField},
               {2, kPartOfSpeechField},
               {3, kColumnField},
               {kPhoneticsColumn, -1}};
  for (const auto& c : cases) {
    EditingSession session = ThreeLessons();
    Apply(session, session.setCell(3, c.column, u"xi"));
    EXPECT_EQ(session.cell(3, c.column), u"xi") << c.column;
    if (c.field >= 0) {
      EXPECT_EQ(session.book().text(3, c.field), u"xi") << c.column;
      EXPECT_EQ(session.phonetics().find("c1"), std::nullopt) << c.column;
    } else {
      EXPECT_EQ(session.phonetics().find("c1"), "xi");
      EXPECT_EQ(session.book().table(), ThreeLessons().book().table());
    }
  }
  EditingSession session = ThreeLessons();
  Apply(session, session.setCell(4, 0, u""));
  EXPECT_EQ(session.setCell(4, kPhoneticsColumn, u"x").problem, u"音标按英文保存，请先填写英文");
}

TEST(EditingSession, FindsTheRecordAtARowOfALesson) {
  const EditingSession session = ThreeLessons();
  const struct {
    int lesson;
    int row;
    std::optional<std::size_t> record;
  } cases[] = {{0, 0, 0},
               {0, 1, 1},
               {0, 2, std::nullopt},
               {2, 1, 4},
               {3, 0, std::nullopt},
               {-1, 0, std::nullopt},
               {1, -1, std::nullopt}};
  for (const auto& c : cases) {
    EXPECT_EQ(session.recordAt(c.lesson, c.row), c.record) << c.lesson << " " << c.row;
  }
}

TEST(EditingSession, FindingsPointAtTheirRecordAndTheColumnOfTheirField) {
  EditingSession session = ThreeLessons();
  for (std::size_t record = 0; record < 5; ++record) {
    Apply(session, session.setText(record, kChineseField, u"一"));
  }
  Apply(session, session.setText(2, kChineseField, u"一 "));
  Apply(session, session.setText(3, kColumnField, u"a  b"));
  // Lesson C named A: a lesson name that comes back, not a field of one entry.
  for (std::size_t record : {3u, 4u}) {
    Apply(session, {Edit{SetText(session.book(), record, kLessonField, u"A"), 0, 0}, {}});
  }
  std::vector<std::pair<std::size_t, int>> places;
  for (const auto& finding : session.findings()) {
    EXPECT_FALSE(finding.text.empty());
    places.emplace_back(finding.record, finding.column);
  }
  std::sort(places.begin(), places.end());
  EXPECT_EQ(places, (std::vector<std::pair<std::size_t, int>>{{2, 1}, {3, -1}, {3, 3}}));
}

TEST(EditingSession, AnImportGoesIntoTheChosenLessonOrANewOneOfTheTeachersName) {
  const EditingSession session = ThreeLessons();
  const struct {
    int into;
    std::u16string lesson;
  } cases[] = {{1, u"B"}, {-1, u"新课"}, {3, u"新课"}};
  for (const auto& c : cases) EXPECT_EQ(session.importLessonName(c.into, u"新课"), c.lesson);
}

TEST(LessonLabel, ALessonWithoutANameIsCalledSo) {
  EXPECT_EQ(LessonLabel({0, 2, u"Unit 1"}), u"Unit 1");
  EXPECT_EQ(LessonLabel({0, 2, u""}), u"（没有课名）");
}

// A session on c1.dat of a portable application folder, its lesson A given a new entry.
struct SavedBook {
  testsupport::TempDir dir;
  suite::FilePlaces places{dir.file("app"), dir.file("user"), true};
  EditingSession session{places};

  SavedBook() {
    std::filesystem::create_directory(dir.file("app"));
    EXPECT_TRUE(
        course::WriteCourseFile(dir.file("app/c1.dat"), ThreeLessons().book().table()).ok());
    const auto location = BookLocation::Fixed(places, "c1.dat");
    session.open(OpenBookFile(location.path), location);
    session.book().apply(session.addEntry(0, -1)->splice);
  }
  std::string runsOnDisk() const { return Runs(OpenBookFile(dir.file("app/c1.dat")).book); }
};

TEST(EditingSession, SavesByTheFolderRuleUnlessTheFileChangedOrThePhoneticsCannotBeKept) {
  using Kind = SaveOutcome::Kind;
  struct Case {
    const char* what;
    std::function<void(SavedBook&)> before;
    Kind kind;
    std::string runsOnDisk;
  };
  const Case cases[] = {
      {"a plain save", [](SavedBook&) {}, Kind::Saved, "A:3 B:1 C:2"},
      {"the book saved meanwhile by another window",
       [](SavedBook& b) {
         Book other = ThreeLessons().book();
         other.apply(RemoveRecords(other, 0, 1));
         ASSERT_TRUE(course::WriteCourseFile(b.dir.file("app/c1.dat"), other.table()).ok());
       },
       Kind::ChangedOnDisk, "A:1 B:1 C:2"},
      {"a phonetics table beside it with a broken line",
       [](SavedBook& b) {
         testsupport::WriteBytes(course::PhoneticsPathBeside(b.dir.file("app/c1.dat")),
                                 "good\tgud\nbroken line\n");
       },
       Kind::PhoneticsNotKept, "A:3 B:1 C:2"},
      {"a book too long for a course file",
       [](SavedBook& b) {
         std::vector<ImportedEntry> many(course::kRecordSlots, {u"x", u"叉", u"", 1, {}});
         b.session.book().apply(InsertEntries(b.session.book(), 0, u"A", many));
       },
       Kind::BookNotSaved, "A:2 B:1 C:2"},
  };
  for (const auto& c : cases) {
    SavedBook b;
    c.before(b);
    const SaveOutcome outcome = b.session.save();
    EXPECT_EQ(outcome.kind, c.kind) << c.what;
    EXPECT_EQ(b.runsOnDisk(), c.runsOnDisk) << c.what;
    if (c.kind == Kind::PhoneticsNotKept) {
      EXPECT_EQ(outcome.badLine, 2u) << c.what;
    }
    if (c.kind == Kind::ChangedOnDisk) {
      EXPECT_EQ(outcome.book.path, b.dir.file("app/c1.dat")) << c.what;
    }
  }
}

TEST(EditingSession, ACopyIsTakenAsTheBookOnlyWhenAdoptedOrWrittenOverItsOwnFile) {
  SavedBook b;
  suite::FileIdentity written;
  const std::string copy = b.dir.file("copy.dat");
  ASSERT_EQ(b.session.saveAs(copy, &written).kind, SaveOutcome::Kind::Saved);
  EXPECT_FALSE(b.session.tookCopyAsSaved(written)) << "a copy elsewhere";
  EXPECT_EQ(b.runsOnDisk(), "A:2 B:1 C:2");

  ASSERT_EQ(b.session.saveAs(b.dir.file("app/c1.dat"), &written).kind, SaveOutcome::Kind::Saved);
  EXPECT_TRUE(b.session.tookCopyAsSaved(written)) << "a copy over its own file";
  EXPECT_EQ(b.session.save().kind, SaveOutcome::Kind::Saved) << "no longer seen as changed";

  b.session.adoptSavedAs(copy, written);
  EXPECT_EQ(b.session.location().path, copy);
  EXPECT_TRUE(b.session.location().fixedName.empty());
}

}  // namespace
}  // namespace editor
