// SPDX-License-Identifier: MIT
// coursetool: the dump form, building from it, and the verdicts of check.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "commands.h"
#include "course_file.h"
#include "dump_format.h"
#include "test_support.h"

namespace coursetool {
namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

const std::string kLine =
    "0\tBook 1\tUnit 1 \xe6\x99\xa8\xe9\x97\xb4\tmarket\t\xe5\xb8\x82\xe5\x9c\xba\tn.\t"
    "a\\nb\\\\c\t75270000\t16000000\t0100";

TEST(DumpForm, ParsesAndFormatsTheSameLine) {
  std::string error;
  const auto parsed = ParseDumpLine(kLine, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->record.text(6).size(), 5u);  // the escapes became single characters
  EXPECT_EQ(parsed->record.number1, (std::array<std::uint8_t, 4>{0x75, 0x27, 0, 0}));
  EXPECT_EQ(FormatDumpLine(parsed->slot, parsed->record), kLine);
}

TEST(DumpForm, RefusesLinesWithTheReason) {
  const std::pair<std::string, std::string> cases[] = {
      {"0\ta\tb", "expected 10"},
      {"2985\t\t\t\t\t\t\t00000000\t00000000\t0000", "slot must be a number"},
      {"x\t\t\t\t\t\t\t00000000\t00000000\t0000", "slot must be a number"},
      {"1\t\t\t\t\t\t\t0000000\t00000000\t0000", "hex digits"},
      {"1\t\t\t\t\t\t\t0000000g\t00000000\t0000", "hex digits"},
      {"1\ta\\x\t\t\t\t\t\t00000000\t00000000\t0000", "backslash"},
      {"1\t\xe0\xb8\x81\t\t\t\t\t\t00000000\t00000000\t0000", "cannot be written"},  // Thai
      {"1\t\x05\t\t\t\t\t\t00000000\t00000000\t0000", "no stored form"},             // below 10
      {"1\t\xff\t\t\t\t\t\t00000000\t00000000\t0000", "not UTF-8"},
  };
  for (const auto& [line, reason] : cases) {
    std::string error;
    EXPECT_FALSE(ParseDumpLine(line, error)) << line;
    EXPECT_NE(error.find(reason), std::string::npos) << line << " -> " << error;
  }
}

TEST(Coursetool, BuildThenDumpGivesTheSourceBack) {
  TempDir dir;
  const std::string source = kLine + "\n" + "7\t\tUnit 2\t\t\t\t\t00000000\t00000000\t0000\n";
  WriteBytes(dir.file("book.tsv"), source);
  std::ostringstream out, err;
  ASSERT_EQ(Build(dir.file("book.tsv"), dir.file("book.dat"), err), 0) << err.str();
  ASSERT_EQ(Dump(dir.file("book.dat"), out, err), 0);
  EXPECT_EQ(out.str(), source);
}

TEST(Coursetool, BuildRefusesABadLineAndWritesNothing) {
  TempDir dir;
  WriteBytes(dir.file("book.tsv"), kLine + "\n" + kLine + "\n");
  std::ostringstream err;
  EXPECT_EQ(Build(dir.file("book.tsv"), dir.file("book.dat"), err), 1);
  EXPECT_NE(err.str().find("book.tsv:2: slot 0 repeats"), std::string::npos) << err.str();
  EXPECT_FALSE(std::filesystem::exists(dir.file("book.dat")));
}

TEST(Coursetool, CheckSaysWhetherTheChooserCanShowTheFile) {
  TempDir dir;
  course::RecordTable table;
  table[0].text(2) = u"W";
  ASSERT_TRUE(course::WriteCourseFile(dir.file("good.dat"), table).ok());
  WriteBytes(dir.file("long.dat"), ReadBytes(dir.file("good.dat")) + "xx");
  WriteBytes(dir.file("cut.dat"), ReadBytes(dir.file("good.dat")).substr(0, 30));
  table[course::kRecordSlots - 1].text(2) = u"X";
  ASSERT_TRUE(course::WriteCourseFile(dir.file("last.dat"), table).ok());

  const std::pair<std::string, int> cases[] = {
      {"good.dat", 0}, {"long.dat", 1}, {"cut.dat", 1}, {"last.dat", 1}, {"missing.dat", 2}};
  for (const auto& [name, status] : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(Check(dir.file(name), out, err), status) << name << "\n" << out.str();
  }
  std::ostringstream out, err;
  Check(dir.file("last.dat"), out, err);
  EXPECT_NE(out.str().find("\"b\" is carried only by the last record"), std::string::npos)
      << out.str();
}

}  // namespace
}  // namespace coursetool
