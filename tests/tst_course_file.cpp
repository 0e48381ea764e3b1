// SPDX-License-Identifier: MIT
// Reading and writing whole course files.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "course_file.h"
#include "test_support.h"

namespace course {
namespace {

using testsupport::MakeRecord;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

constexpr std::size_t kEmptyImageBytes = 65670;

RecordTable SampleTable(std::size_t records) {
  RecordTable table;
  for (std::size_t i = 0; i < records; ++i) {
    table[i] = MakeRecord({"Book", "Unit " + std::to_string(i / 10), "word" + std::to_string(i),
                           "\xe8\xaf\x8d", "n.", i % 3 ? "" : "note"},
                          static_cast<std::uint32_t>(i + 1));
  }
  return table;
}

std::string Image(const RecordTable& table) {
  std::string image;
  EXPECT_TRUE(SerializeCourseTable(table, image));
  return image;
}

RecordTable Parse(const std::string& image, CourseImageReport* report = nullptr) {
  RecordTable table;
  const auto r =
      ParseCourseImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size(), table);
  if (report) *report = r;
  return table;
}

TEST(CourseImage, HoldsWhatTheFileHoldsThenEmptyRecords) {
  CourseImageReport report;
  EXPECT_EQ(Parse("", &report), RecordTable());
  EXPECT_TRUE(report.clean());

  const RecordTable full = SampleTable(kRecordSlots);
  const std::string fullImage = Image(full);
  const std::string withEmptyRecords = Image(SampleTable(3));
  const std::string threeRecords =
      withEmptyRecords.substr(0, withEmptyRecords.size() - (kRecordSlots - 3) * 22);
  EXPECT_EQ(Parse(threeRecords, &report), SampleTable(3));
  EXPECT_EQ(report.wholeRecords, 3u);
  EXPECT_TRUE(report.clean());

  EXPECT_EQ(Parse(fullImage + fullImage.substr(0, 500), &report), full);
  EXPECT_EQ(report.wholeRecords, kRecordSlots);
  EXPECT_EQ(report.bytesBeyond, 500u);
}

TEST(CourseImage, CountsTextInBytesNotCharacters) {
  RecordTable table;
  table[0].text(3) = u"\u4f60\u597d\u554a";  // three double-byte characters
  const std::string image = Image(table);
  EXPECT_EQ(image.substr(4, 2), std::string("\x06\x00", 2));
  EXPECT_EQ(image.size(), kEmptyImageBytes + 6);
}

TEST(CourseImage, ReadsCountsAsUnsigned) {
  RecordTable table;
  table[0].text(1) = std::u16string(40000, u'x');
  const std::string image = Image(table);
  EXPECT_EQ(image.substr(0, 2), "\x40\x9c");  // 40000 = 0x9C40
  EXPECT_EQ(Parse(image), table);
}

TEST(CourseImage, KeepsBytesThatAreNotCodePage936) {
  std::string record("\x03\x00\xff\x81\x7f", 5);
  for (int i = 0; i < 5; ++i) record.append("\x00\x00", 2);
  record.append("0123456789");
  CourseImageReport report;
  const RecordTable table = Parse(record, &report);
  EXPECT_EQ(report.escapedBytes, 2u);
  std::string written = Image(table);
  EXPECT_EQ(written.substr(0, record.size()), record);
}

// Every prefix of a valid image: texts read whole are kept, nothing else is invented.
TEST(CourseImage, EveryCutOffPrefixKeepsOnlyWholeTexts) {
  RecordTable two;
  two[0] = MakeRecord({"a", "bb", "\xe4\xbd\xa0", "", "eeeee", "f"}, 7);
  two[1] = MakeRecord({"g", "h", "i", "j", "k", "l"}, 8);
  const std::size_t firstRecord = 22 + 1 + 2 + 2 + 0 + 5 + 1;
  const std::size_t secondRecord = 22 + 6;
  const std::string image = Image(two).substr(0, firstRecord + secondRecord);
  for (std::size_t length = 0; length <= image.size(); ++length) {
    CourseImageReport report;
    const RecordTable table = Parse(image.substr(0, length), &report);
    for (std::size_t slot = 0; slot < 2; ++slot) {
      const CourseRecord& got = table[slot];
      for (std::size_t f = 0; f < kTextFields; ++f) {
        EXPECT_TRUE(got.texts[f].empty() || got.texts[f] == two[slot].texts[f])
            << "length " << length;
      }
      const bool whole = got.number1 != CourseRecord().number1;
      EXPECT_TRUE(!whole || got == two[slot]) << "length " << length;
    }
    EXPECT_EQ(report.cutOff, length != 0 && length != firstRecord && length != image.size())
        << "length " << length;
    EXPECT_TRUE(std::all_of(table.begin() + 2, table.end(),
                            [](const CourseRecord& r) { return r.isEmpty(); }));
  }
}

TEST(CourseFile, EmptyTableMakesTheSmallestFile) {
  TempDir dir;
  ASSERT_TRUE(WriteCourseFile(dir.file("900_1.dat"), RecordTable()).ok());
  EXPECT_EQ(ReadBytes(dir.file("900_1.dat")), std::string(kEmptyImageBytes, '\0'));
}

TEST(CourseFile, RoundTripsTextForTextAndNumberForNumber) {
  TempDir dir;
  const RecordTable table = SampleTable(kRecordSlots);
  ASSERT_TRUE(WriteCourseFile(dir.file("c1.dat"), table).ok());
  RecordTable back;
  const auto result = ReadCourseFile(dir.file("c1.dat"), back);
  ASSERT_TRUE(result.status.ok());
  EXPECT_TRUE(result.report.clean());
  EXPECT_EQ(back, table);
}

TEST(CourseFile, WritingOverALongerFileKeepsItsTail) {
  TempDir dir;
  const std::string path = dir.file("900_1.dat");
  const std::string longer = Image(SampleTable(20));
  WriteBytes(path, longer);
  const RecordTable shorter = SampleTable(5);
  ASSERT_TRUE(WriteCourseFile(path, shorter).ok());

  const std::string written = ReadBytes(path);
  const std::string image = Image(shorter);
  ASSERT_EQ(written.size(), longer.size());
  EXPECT_EQ(written.substr(0, image.size()), image);
  EXPECT_EQ(written.substr(image.size()), longer.substr(image.size()));
  RecordTable back;
  EXPECT_TRUE(ReadCourseFile(path, back).status.ok());
  EXPECT_EQ(back, shorter);
}

TEST(CourseFile, AMissingFileIsReportedNotCreated) {
  TempDir dir;
  RecordTable table = SampleTable(4);
  const auto result = ReadCourseFile(dir.file("c3.dat"), table);
  EXPECT_FALSE(result.status.ok());
  EXPECT_EQ(result.status.error, ENOENT);
  EXPECT_EQ(result.status.path, dir.file("c3.dat"));
  EXPECT_EQ(table, RecordTable());
  EXPECT_FALSE(std::filesystem::exists(dir.file("c3.dat")));
}

TEST(CourseFile, UnwritableTextIsRefusedAndNothingIsWritten) {
  TempDir dir;
  RecordTable table;
  table[0].text(1) = u"\u0e01";
  const auto status = WriteCourseFile(dir.file("900_1.dat"), table);
  EXPECT_EQ(status.error, EILSEQ);
  EXPECT_FALSE(std::filesystem::exists(dir.file("900_1.dat")));
}

// The old file must be whole after any failed write; no temporary file may be left.
class FailedWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("900_1.dat");
    old_ = Image(SampleTable(30));
    WriteBytes(path_, old_);
  }
  void ExpectOldFileIntact() {
    EXPECT_EQ(ReadBytes(path_), old_);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      ++files;
    }
    EXPECT_EQ(files, 1u) << "a temporary file was left behind";
  }

  TempDir dir_;
  std::string path_;
  std::string old_;
};

TEST_F(FailedWrite, ReadOnlyFileIsRefusedEvenForRoot) {
  std::filesystem::permissions(
      path_, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  const auto status = WriteCourseFile(path_, SampleTable(2));
  EXPECT_EQ(status.error, EACCES);
  EXPECT_EQ(status.path, path_);
  ExpectOldFileIntact();
}

TEST_F(FailedWrite, FileSizeLimitHitPartWay) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // make write() fail with EFBIG instead of killing us
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto status = WriteCourseFile(path_, SampleTable(kRecordSlots));
    _exit(status.error == EFBIG ? 0 : 1);
  }
  int wstatus = 0;
  ASSERT_EQ(waitpid(child, &wstatus, 0), child);
  ASSERT_TRUE(WIFEXITED(wstatus));
  EXPECT_EQ(WEXITSTATUS(wstatus), 0) << "the write did not report EFBIG";
  ExpectOldFileIntact();
}

TEST(CourseFile, WriteIntoAFolderThatIsGoneFails) {
  TempDir dir;
  const std::string path = (dir.path() / "gone" / "900_1.dat").string();
  const auto status = WriteCourseFile(path, RecordTable());
  EXPECT_EQ(status.error, ENOENT);
  EXPECT_FALSE(status.reason.empty());
}

TEST(CourseFile, WritingThroughALinkReplacesTheFileItPointsAt) {
  TempDir dir;
  WriteBytes(dir.file("real.dat"), "old");
  std::filesystem::create_symlink(dir.file("real.dat"), dir.file("900_1.dat"));
  ASSERT_TRUE(WriteCourseFile(dir.file("900_1.dat"), RecordTable()).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("900_1.dat")));
  EXPECT_EQ(ReadBytes(dir.file("real.dat")).size(), kEmptyImageBytes);
}

}  // namespace
}  // namespace course
