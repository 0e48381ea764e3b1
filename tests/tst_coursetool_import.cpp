// SPDX-License-Identifier: MIT
// coursetool import: a word list appended to a course file as one lesson.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "commands.h"
#include "import_command.h"
#include "phonetics_changes.h"
#include "test_support.h"

namespace coursetool {
namespace {

using testsupport::TempDir;
using testsupport::WriteBytes;

std::string DumpOf(const std::string& path) {
  std::ostringstream out, err;
  EXPECT_EQ(Dump(path, out, err), 0) << err.str();
  return out.str();
}

TEST(CoursetoolImport, MakesTheBookThenAppendsEachListAsALesson) {
  TempDir dir;
  WriteBytes(dir.file("week1.csv"), "english,chinese\r\n\"apple, red\",红苹果\r\nrun,跑\r\n");
  WriteBytes(dir.file("week2.txt"),
             "#separator:tab\n#html:true\n#tags column:3\ngo\t<i>去</i>\tx\n");
  std::ostringstream out, err;
  ASSERT_EQ(Import(dir.file("week1.csv"), dir.file("c1.dat"), {{}, {}, "第一册"}, out, err), 0)
      << err.str();
  ASSERT_EQ(Import(dir.file("week2.txt"), dir.file("c1.dat"), {{}, "第二周", {}}, out, err), 0)
      << err.str();
  EXPECT_EQ(DumpOf(dir.file("c1.dat")),
            "0\t第一册\tweek1\tapple, red\t红苹果\t\t\t00000000\t00000000\t0000\n"
            "1\t第一册\tweek1\trun\t跑\t\t\t00000000\t00000000\t0000\n"
            "2\t第一册\t第二周\tgo\t去\t\t\t00000000\t00000000\t0000\n");
}

TEST(CoursetoolImport, ALessonNameTheBookHasIsRefusedAndTheBookKept) {
  TempDir dir;
  WriteBytes(dir.file("week1.csv"), "apple,苹果\n");
  std::ostringstream out, err;
  ASSERT_EQ(Import(dir.file("week1.csv"), dir.file("c.dat"), {}, out, err), 0) << err.str();
  const std::string before = testsupport::ReadBytes(dir.file("c.dat"));
  EXPECT_EQ(Import(dir.file("week1.csv"), dir.file("c.dat"), {}, out, err), 1);
  EXPECT_NE(err.str().find("已经有一课叫“week1”"), std::string::npos) << err.str();
  EXPECT_TRUE(testsupport::ReadBytes(dir.file("c.dat")) == before) << "nothing merged";
}

TEST(CoursetoolImport, TakesTheColumnsGiven) {
  TempDir dir;
  WriteBytes(dir.file("l.tsv"), "1\t苹果\tn.\tapple\n");
  std::ostringstream out, err;
  ASSERT_EQ(Import(dir.file("l.tsv"), dir.file("c.dat"), {"-,zh,pos,en", {}, {}}, out, err), 0)
      << err.str();
  EXPECT_EQ(DumpOf(dir.file("c.dat")), "0\t\tl\tapple\t苹果\tn.\t\t00000000\t00000000\t0000\n");
}

TEST(CoursetoolImport, RefusesWithTheReasonAndWritesNothing) {
  TempDir dir;
  WriteBytes(dir.file("broken.csv"), "a,b\n\"c,d\n");
  WriteBytes(dir.file("thai.csv"), "a,苹果\nก,泰\n");
  WriteBytes(dir.file("ok.csv"), "a,苹果\n");
  ASSERT_EQ(::mkfifo(dir.file("pipe.csv").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.file("folder.csv"));
  struct Case {
    const char* what;
    std::string in;
    ImportOptions options;
    int status;
    std::string reason;
  };
  const Case cases[] = {
      {"broken quoting", "broken.csv", {}, 1, "第 2 行"},
      {"a character GBK lacks", "thai.csv", {}, 1, "第 2 行"},
      {"a role twice", "ok.csv", {"en,en", {}, {}}, 1, "--columns"},
      {"an unknown role", "ok.csv", {"en,fr", {}, {}}, 1, "--columns"},
      {"an empty lesson name", "ok.csv", {{}, "", {}}, 1, "empty"},
      {"a lesson name GBK lacks", "ok.csv", {{}, "ก", {}}, 1, "lesson name"},
      {"a missing list", "none.csv", {}, 2, "none.csv: No such file or directory"},
      {"a pipe, never waited on", "pipe.csv", {}, 2, "pipe.csv: it is a named pipe"},
      {"a folder", "folder.csv", {}, 2, "folder.csv: "},
  };
  for (const auto& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(Import(dir.file(c.in), dir.file("c.dat"), c.options, out, err), c.status) << c.what;
    EXPECT_NE(err.str().find(c.reason), std::string::npos) << c.what << ": " << err.str();
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.dat"))) << c.what;
  }
}

// Entries as an importer gives them, with the phonetics it took out of the English text.
std::vector<editor::ImportedEntry> PhoneticEntries() {
  return {{u"abandon", u"放弃；抛弃", u"vt.", 1, u"əˈbændən"},
          {u"give up", u"放弃、停止。", u"", 2, u""},
          {u"Patience", u"耐心", u"n.", 3, u"ˈpeɪʃns"}};
}

TEST(CoursetoolImport, KeepsTheEntriesPhoneticsBesideTheBook) {
  TempDir dir;
  WriteBytes(dir.file("phonetics.txt"), "absorb\təbˈsɔrb\nabandon\told\n");
  std::ostringstream out, err;
  ASSERT_EQ(AppendLesson(PhoneticEntries(), u"Unit 1", std::nullopt, dir.file("c1.dat"), out, err),
            0)
      << err.str();
  EXPECT_EQ(testsupport::ReadBytes(dir.file("phonetics.txt")),
            "abandon\təˈbændən\nabsorb\təbˈsɔrb\nPatience\tˈpeɪʃns\n");
  EXPECT_NE(out.str().find("the phonetics of 2 words kept"), std::string::npos) << out.str();
  EXPECT_EQ(DumpOf(dir.file("c1.dat")),
            "0\t\tUnit 1\tabandon\t放弃；抛弃\tvt.\t\t00000000\t00000000\t0000\n"
            "1\t\tUnit 1\tgive up\t放弃、停止。\t\t\t00000000\t00000000\t0000\n"
            "2\t\tUnit 1\tPatience\t耐心\tn.\t\t00000000\t00000000\t0000\n")
      << "the course file holds no phonetics";
}

TEST(CoursetoolImport, ATableItCannotReadWholeStopsTheImportBeforeAnyWrite) {
  TempDir dir;
  const std::string typed = "absorb əbˈsɔrb\n";
  WriteBytes(dir.file("phonetics.txt"), typed);
  std::ostringstream out, err;
  EXPECT_EQ(AppendLesson(PhoneticEntries(), u"Unit 1", std::nullopt, dir.file("c1.dat"), out, err),
            2);
  EXPECT_NE(err.str().find("phonetics.txt: line 1: no tab"), std::string::npos) << err.str();
  EXPECT_FALSE(std::filesystem::exists(dir.file("c1.dat")));
  EXPECT_EQ(testsupport::ReadBytes(dir.file("phonetics.txt")), typed);
}

TEST(CoursetoolImport, EntriesWithoutPhoneticsMakeNoTable) {
  TempDir dir;
  std::ostringstream out, err;
  ASSERT_EQ(AppendLesson({{u"run", u"跑", u"", 1, u""}}, u"L", std::nullopt, dir.file("c1.dat"),
                         out, err),
            0)
      << err.str();
  EXPECT_FALSE(std::filesystem::exists(dir.file("phonetics.txt")));
}

TEST(PhoneticsChanges, AnImportsChangesAreTakenBackExactly) {
  course::PhoneticsTable table;
  table.put("abandon", "old");
  table.put("absorb", "əbˈsɔrb");
  const course::PhoneticsTable before = table;
  std::vector<editor::ImportedEntry> entries = PhoneticEntries();
  entries.push_back({u"ABANDON", u"抛弃", u"", 4, u"əˈbændən2"});  // the same word twice
  const auto changes = editor::ImportedPhonetics(table, entries);
  ASSERT_EQ(changes.size(), 3u) << "the entry without phonetics changes nothing";
  EXPECT_EQ(changes[0].before, "old");
  EXPECT_EQ(changes[2].before, "əˈbændən") << "what the first abandon left";
  ASSERT_TRUE(editor::MakeChanges(table, changes));
  EXPECT_EQ(table.find("abandon"), "əˈbændən2");
  EXPECT_EQ(table.find("patience"), "ˈpeɪʃns");
  editor::TakeBackChanges(table, changes);
  EXPECT_EQ(table, before);

  const auto edit = editor::SetPhonetics(table, u"absorb", u"");
  ASSERT_TRUE(editor::MakeChanges(table, {edit}));
  EXPECT_EQ(table.find("absorb"), std::nullopt) << "an emptied cell removes the word";
  EXPECT_FALSE(editor::MakeChanges(table, {{"abandon", "", "x"}, {"absorb", "", "a\x01"}}));
  EXPECT_EQ(table.find("abandon"), "old") << "none of a refused set is made";
}

}  // namespace
}  // namespace coursetool
