// SPDX-License-Identifier: MIT
// coursetool import: a word list appended to a course file as one lesson.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "commands.h"
#include "import_command.h"
#include "lesson_index.h"
#include "phonetics_changes.h"
#include "test_support.h"
#include "utf8.h"

namespace coursetool {
namespace {

using testsupport::TempDir;
using testsupport::WriteBytes;

bool HasChinese(const std::string& utf8) {
  const auto text = course::FromUtf8(utf8).value_or(std::u16string());
  return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x3000; });
}

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
  EXPECT_NE(err.str().find("already has a lesson named \"week1\""), std::string::npos) << err.str();
  EXPECT_TRUE(testsupport::ReadBytes(dir.file("c.dat")) == before) << "nothing merged";
}

TEST(CoursetoolImport, TakesTheColumnsGiven) {
  TempDir dir;
  WriteBytes(dir.file("l.tsv"), "1\t苹果\tn.\tapple\n");
  std::ostringstream out, err;
  ASSERT_EQ(Import(dir.file("l.tsv"), dir.file("c.dat"), {"-,zh,pos,en", {}, {}}, out, err), 0)
      << err.str();
  EXPECT_EQ(DumpOf(dir.file("c.dat")), "0\t\tl\tapple\t苹果\tn.\t\t00000000\t00000000\t0000\n");
  // Phonetics have a column of their own, never stored in the course file.
  WriteBytes(dir.file("p.tsv"), "2\tpear\t/peə/\t梨\n");
  ASSERT_EQ(Import(dir.file("p.tsv"), dir.file("c.dat"), {"-,en,ph,zh", {}, {}}, out, err), 0)
      << err.str();
  EXPECT_NE(DumpOf(dir.file("c.dat")).find("1\t\tp\tpear\t梨\t\t"), std::string::npos);
}

TEST(CoursetoolImport, RefusesWithTheReasonAndWritesNothing) {
  TempDir dir;
  WriteBytes(dir.file("broken.csv"), "a,b\n\"c,d\n");
  WriteBytes(dir.file("thai.csv"), "a,苹果\nก,泰\n");
  WriteBytes(dir.file("ok.csv"), "a,苹果\n");
  WriteBytes(dir.file("old.xls"), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10));
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
      {"broken quoting", "broken.csv", {}, 1, "line 2: a quoted field does not end"},
      {"a character GBK lacks", "thai.csv", {}, 1, "line 2: \"ก\": the character \"ก\" is not"},
      {"an .xls workbook", "old.xls", {}, 1, "save the list as CSV in Excel or WPS"},
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
    EXPECT_EQ(err.str().find("\xE3\x80"), std::string::npos) << "English only: " << err.str();
    EXPECT_FALSE(HasChinese(err.str())) << "English only: " << err.str();
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.dat"))) << c.what;
  }
}

// The record of a dump line for entry n of lesson `lesson`: english, chinese, part of speech.
std::string Dumped(int n, const std::string& lesson, const std::string& english,
                   const std::string& chinese, const std::string& partOfSpeech) {
  std::ostringstream line;
  line << n << "\t\t" << lesson << '\t' << english << '\t' << chinese << '\t' << partOfSpeech
       << "\t\t00000000\t00000000\t0000\n";
  return line.str();
}

TEST(CoursetoolImport, ListsAsTeachersTypeThemGoInAsMeant) {
  TempDir dir;
  WriteBytes(dir.file("numbered.txt"),
             testsupport::ToGbk("1. abandon vt. 放弃；抛弃\r\n2、absorb v.吸收（液体）\r\n③ "
                                "abstract adj.抽象的、理论上的\r\n"
                                "(4) academic 学术的\r\n"));
  WriteBytes(dir.file("marked.txt"),
             "abandon [əˈbændən] vt. 放弃\nabsorb /əbˈzɔːb/ v. 吸收\naccess\tn.&v.接近\n");
  WriteBytes(
      dir.file("sentences.txt"),
      "Where there is a will, there is a way. 有志者事竟成。\nNo pain, no gain. 不劳无获！\n");
  WriteBytes(
      dir.file("header.csv"),
      "序号,单词,音标,词性,中文释义\r\n1,abandon,[əˈbændən],vt.,放弃\r\n2,absorb,,v.,吸收\r\n");
  WriteBytes(dir.file("cards.txt"), "#separator:tab\n#html:true\nabandon\tvt.放弃<br>抛弃\n");
  WriteBytes(dir.file("book.xlsx"),
             testsupport::Workbook(
                 {{"xl/worksheets/sheet1.xml",
                   testsupport::SheetXml(
                       "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>单词</t></is></c>"
                       "<c r=\"B1\" t=\"inlineStr\"><is><t>释义</t></is></c></row>"
                       "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>1. abandon</t></is></c>"
                       "<c r=\"B2\" t=\"inlineStr\"><is><t>vt.放弃</t></is></c></row>")}}));
  const char* lists[] = {"numbered.txt", "marked.txt", "sentences.txt",
                         "header.csv",   "cards.txt",  "book.xlsx"};
  for (const char* list : lists) {
    std::ostringstream out, err;
    ASSERT_EQ(Import(dir.file(list), dir.file("c.dat"), {}, out, err), 0) << list << err.str();
  }
  EXPECT_EQ(
      DumpOf(dir.file("c.dat")),
      Dumped(0, "numbered", "abandon", "放弃；抛弃", "vt.") +
          Dumped(1, "numbered", "absorb", "吸收（液体）", "v.") +
          Dumped(2, "numbered", "abstract", "抽象的、理论上的", "adj.") +
          Dumped(3, "numbered", "academic", "学术的", "") +
          Dumped(4, "marked", "abandon", "放弃", "vt.") +
          Dumped(5, "marked", "absorb", "吸收", "v.") +
          Dumped(6, "marked", "access", "接近", "n.&v.") +
          Dumped(7, "sentences", "Where there is a will, there is a way.", "有志者事竟成。", "") +
          Dumped(8, "sentences", "No pain, no gain.", "不劳无获！", "") +
          Dumped(9, "header", "abandon", "放弃", "vt.") +
          Dumped(10, "header", "absorb", "吸收", "v.") +
          Dumped(11, "cards", "abandon", "放弃；抛弃", "vt.") +
          Dumped(12, "book", "abandon", "放弃", "vt."));
}

TEST(CoursetoolImport, RefusesWhatPassesTheBooksLimitsBeforeWritingIt) {
  TempDir dir;
  const auto list = [&dir](const std::string& name, std::size_t entries) {
    std::string text;
    for (std::size_t i = 0; i < entries; ++i)
      text.append("w").append(std::to_string(i)).append(" 词\n");
    WriteBytes(dir.file(name), text);
    return dir.file(name);
  };
  std::ostringstream out, err;
  ASSERT_EQ(Import(list("big.txt", 2980), dir.file("full.dat"), {}, out, err), 0) << err.str();
  for (std::size_t lesson = 0; lesson < course::kLessonSlots; ++lesson) {
    ASSERT_EQ(Import(list("one.txt", 1), dir.file("many.dat"),
                     {{}, std::to_string(lesson).append("课"), {}}, out, err),
              0)
        << err.str();
  }
  struct Case {
    const char* what;
    std::string in;
    std::string book;
    std::string reason;
  };
  const Case cases[] = {
      {"entries past the course file's records", list("ten.txt", 10), "full.dat",
       "the book would hold 2990 entries, more than the 2985 a course file holds"},
      {"a lesson past the chooser's last", list("two.txt", 2), "many.dat",
       "the book would have 130 lessons; the chooser lists only the first 129"},
      {"a list longer than any book", list("huge.txt", 7000), "new.dat",
       "the list has more than 6000 rows"},
  };
  for (const auto& c : cases) {
    const bool existed = std::filesystem::exists(dir.file(c.book));
    const std::string before = existed ? testsupport::ReadBytes(dir.file(c.book)) : "";
    std::ostringstream out2, err2;
    EXPECT_EQ(Import(c.in, dir.file(c.book), {}, out2, err2), 1) << c.what;
    EXPECT_NE(err2.str().find(c.reason), std::string::npos) << c.what << ": " << err2.str();
    EXPECT_EQ(std::filesystem::exists(dir.file(c.book)), existed) << c.what;
    if (existed) {
      EXPECT_TRUE(testsupport::ReadBytes(dir.file(c.book)) == before) << c.what;
    }
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
