// SPDX-License-Identifier: MIT
// coursetool: the dump form, building from it, and the verdicts of check.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
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
      {"1\t" + std::string(70000, 'a') + "\t\t\t\t\t\t00000000\t00000000\t0000", "too long"},
      {"1\ta\\x0\t\t\t\t\t\t00000000\t00000000\t0000", "backslash"},
  };
  for (const auto& [line, reason] : cases) {
    std::string error;
    EXPECT_FALSE(ParseDumpLine(line, error)) << line;
    EXPECT_NE(error.find(reason), std::string::npos) << line << " -> " << error;
  }
}

TEST(DumpForm, ControlCharactersAreWrittenAsEscapesAndReadBack) {
  course::CourseRecord record;
  record.text(3) = u"a\u0003b\u0015";  // shows as "k", CR, "l", 0x1F
  const std::string line = FormatDumpLine(5, record);
  EXPECT_NE(line.find("\tk\\x0dl\\x1f\t"), std::string::npos) << line;
  std::string error;
  const auto parsed = ParseDumpLine(line, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->record, record);
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

  // A book with a 2 GB tail (a hole here): its records are read, its tail only counted.
  const std::uint64_t huge = std::uint64_t{2} << 30;
  WriteBytes(dir.file("huge.dat"), ReadBytes(dir.file("good.dat")));
  std::filesystem::resize_file(dir.file("huge.dat"), huge);
  std::ostringstream hugeOut, hugeErr;
  EXPECT_EQ(Check(dir.file("huge.dat"), hugeOut, hugeErr), 1);
  EXPECT_NE(
      hugeOut.str().find(std::to_string(huge - std::filesystem::file_size(dir.file("good.dat"))) +
                         " bytes lie beyond the last record"),
      std::string::npos)
      << hugeOut.str();
}

}  // namespace
}  // namespace coursetool

namespace coursetool {
namespace {

const std::string kEmptySlotLine = "7\t\tUnit 2\t\t\t\t\t00000000\t00000000\t0000";

TEST(Coursetool, BuildWritesExactlyItsRecordsWhateverTheOutputHeld) {
  TempDir dir;
  std::string longer;
  for (int slot = 0; slot < 50; ++slot) {
    longer += std::to_string(slot) + "\tBook\tUnit\t" + std::string(300, 'w') +
              "\t\t\t\t00000000\t00000000\t0000\n";
  }
  WriteBytes(dir.file("long.tsv"), longer);
  WriteBytes(dir.file("short.tsv"), kLine + "\n");
  std::ostringstream out, err;
  ASSERT_EQ(Build(dir.file("long.tsv"), dir.file("out.dat"), err), 0) << err.str();
  ASSERT_EQ(Build(dir.file("short.tsv"), dir.file("out.dat"), err), 0) << err.str();
  ASSERT_EQ(Build(dir.file("short.tsv"), dir.file("fresh.dat"), err), 0) << err.str();
  EXPECT_EQ(ReadBytes(dir.file("out.dat")), ReadBytes(dir.file("fresh.dat")));
  EXPECT_EQ(Check(dir.file("out.dat"), out, err), 0) << out.str();
}

TEST(Coursetool, WhatIsNotARegularFileIsRefusedAtOnceAndAnEmptyFileIsNotACourse) {
  TempDir dir;
  const testsupport::IdlePipe pipe(dir.file("pipe"));
  WriteBytes(dir.file("book.tsv"), kLine + "\n");
  using Command = std::function<int(const std::string&, std::ostream&)>;
  const std::pair<const char*, Command> commands[] = {
      {"dump",
       [](const std::string& path, std::ostream& err) {
         std::ostringstream out;
         return Dump(path, out, err);
       }},
      {"check",
       [](const std::string& path, std::ostream& err) {
         std::ostringstream out;
         return Check(path, out, err);
       }},
      {"build from", [&](const std::string& path,
                         std::ostream& err) { return Build(path, dir.file("out.dat"), err); }},
  };
  const std::pair<std::string, std::string> kinds[] = {
      {pipe.path(), "named pipe"}, {dir.path().string(), "folder"}, {"/dev/zero", "device"}};
  for (const auto& [command, run] : commands) {
    for (const auto& [path, kind] : kinds) {
      std::ostringstream err;
      const auto start = std::chrono::steady_clock::now();
      EXPECT_EQ(run(path, err), 2) << command << " " << path;
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << command;
      EXPECT_NE(err.str().find(path + ": it is a " + kind), std::string::npos) << err.str();
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.dat")));
  std::ostringstream err;
  EXPECT_EQ(Build(dir.file("book.tsv"), pipe.path(), err), 2) << "no output over a pipe either";

  WriteBytes(dir.file("empty.dat"), "");
  std::ostringstream out;
  EXPECT_EQ(Check(dir.file("empty.dat"), out, err), 1);
  EXPECT_NE(out.str().find("the file is empty"), std::string::npos) << out.str();
}

TEST(Coursetool, SourcesWithCrlfAndAByteOrderMarkBuildTheSameFile) {
  TempDir dir;
  WriteBytes(dir.file("plain.tsv"), kLine + "\n" + kEmptySlotLine + "\n");
  WriteBytes(dir.file("windows.tsv"), "\xEF\xBB\xBF" + kLine + "\r\n" + kEmptySlotLine + "\r\n");
  std::ostringstream err;
  ASSERT_EQ(Build(dir.file("plain.tsv"), dir.file("plain.dat"), err), 0) << err.str();
  ASSERT_EQ(Build(dir.file("windows.tsv"), dir.file("windows.dat"), err), 0) << err.str();
  EXPECT_EQ(ReadBytes(dir.file("windows.dat")), ReadBytes(dir.file("plain.dat")));
}

TEST(Coursetool, BuildRefusesControlCharactersAndOverlongLinesByNumberAtLittleCost) {
  TempDir dir;
  WriteBytes(dir.file("nul.tsv"), kEmptySlotLine + "\n1\ta" + std::string(1, '\0') + "b" +
                                      kEmptySlotLine.substr(1) + "\n");
  // A text field of a gigabyte, made sparse: refused after reading about the bound.
  WriteBytes(dir.file("huge.tsv"), "0\t");
  std::filesystem::resize_file(dir.file("huge.tsv"), std::uintmax_t{1} << 30);
  const std::pair<std::string, std::string> cases[] = {
      {"nul.tsv", "nul.tsv:2: control character 0x00 at byte 4"},
      {"huge.tsv", "huge.tsv:1: the line is longer than 1048576 bytes"},
  };
  for (const auto& [name, message] : cases) {
    std::ostringstream err;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Build(dir.file(name), dir.file("out.dat"), err), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << name;
    EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.dat")));
  }
}

}  // namespace
}  // namespace coursetool
