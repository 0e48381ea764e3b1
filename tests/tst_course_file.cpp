// SPDX-License-Identifier: MIT
// Reading and writing whole course files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "course_file.h"
#include "cp936.h"
#include "test_support.h"

namespace course {
namespace {

using testsupport::MakeRecord;
using testsupport::PeakMemoryGrowth;
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

// Records written byte for byte, so that texts can hold bytes that are no text at all.
using RawFields = std::array<std::string, kTextFields>;

std::string RawRecord(const RawFields& fields, std::uint8_t serial) {
  std::string bytes;
  for (const auto& text : fields) {
    bytes.push_back(static_cast<char>(text.size() & 0xFF));
    bytes.push_back(static_cast<char>(text.size() >> 8));
    bytes += text;
  }
  bytes.push_back(static_cast<char>(serial));
  bytes.append(kNumberBytes - 1, '\x07');
  return bytes;
}

// Each text decoded alone, and how many of its bytes had to be escaped.
std::u16string DecodeAlone(const std::string& bytes, std::size_t& escaped) {
  std::u16string text;
  escaped += Cp936::instance().decode(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                      bytes.size(), text);
  return text;
}

CourseImageReport ParseInto(RecordImage& image, const std::string& bytes) {
  return ParseCourseImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image);
}

// Every text read into an image must be the text of its own bytes, whatever its neighbours
// hold, and must write back as those bytes.
void ExpectEveryTextItsOwn(const std::vector<RawFields>& records, const std::string& what) {
  std::string bytes;
  for (std::size_t r = 0; r < records.size(); ++r) {
    bytes += RawRecord(records[r], static_cast<std::uint8_t>(r + 1));
  }
  RecordImage image;
  const CourseImageReport report = ParseInto(image, bytes);
  std::size_t escaped = 0;
  for (std::size_t r = 0; r < records.size(); ++r) {
    for (std::size_t f = 0; f < kTextFields; ++f) {
      EXPECT_EQ(image[r].texts[f], DecodeAlone(records[r][f], escaped))
          << what << ", record " << r << ", field " << f + 1;
    }
  }
  EXPECT_EQ(report.escapedBytes, escaped) << what;
  EXPECT_EQ(report.wholeRecords, records.size()) << what;
  EXPECT_EQ(Image(RecordTable(image)).substr(0, bytes.size()), bytes) << what;
}

TEST(RecordImage, NeighbouringTextsShareCharactersOnlyWhenTheirBytesAreEqual) {
  const std::pair<std::string, std::string> neighbours[] = {
      {"abc", "abd"},
      {"abc", "abc"},
      {"", ""},
      {"", "a"},
      {"0123456789abcdefX", "0123456789abcdefY"},  // 17 bytes, differing in the last
      {"X123456789abcdef0", "Y123456789abcdef0"},  // and in the first
      {std::string(40, 'a'), std::string(40, 'a')},
      {std::string(40, 'a'), std::string(39, 'a') + "b"},
      {std::string(32, 'a') + "b", std::string(32, 'a') + "c"},
      {"\xb0\xa1", "\xb0\xa2"},
      {"\xff\x81", "\xff\x81"},  // bytes that are no text, counted in both records
  };
  for (const auto& [first, second] : neighbours) {
    ExpectEveryTextItsOwn({{first, first, "n", first, "", "x"},
                           {second, first, "n", second, "", "y"},
                           {second, second, "n", first, "", "x"}},
                          "\"" + first + "\" then \"" + second + "\"");
  }
}

// Short English texts are widened a block at a time: what lies after a text is never part
// of it, also when it is Chinese or the image ends right after it.
TEST(RecordImage, ShortEnglishTextsEndWhereTheirCountSays) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGH";
  for (std::size_t length = 0; length <= 40; ++length) {
    const std::string english = letters.substr(0, length);
    ExpectEveryTextItsOwn(
        {{english, "\xb0\xa1\xb0\xa1", english + "\x80", english, "\xff", english}},
        std::to_string(length) + " letters");
  }
}

TEST(RecordImage, ReadingAgainReplacesEveryRecord) {
  const std::string shortImage = Image(SampleTable(3)).substr(0, 100);
  const std::string longImage = Image(SampleTable(kRecordSlots));
  RecordImage image;
  // Short, long, short: the second read needs a larger buffer, the third a smaller one.
  for (const std::string* bytes : {&shortImage, &longImage, &shortImage}) {
    ParseInto(image, *bytes);
    EXPECT_EQ(RecordTable(image), Parse(*bytes));
  }
  const RecordImage moved(std::move(image));
  EXPECT_EQ(RecordTable(moved), Parse(shortImage));
  EXPECT_EQ(RecordTable(RecordImage(SampleTable(50))), SampleTable(50));
}

// A record cut off after texts it shares with the record before keeps just those.
TEST(RecordImage, EveryCutOffPrefixOfRepeatingRecordsKeepsOnlyWholeTexts) {
  const std::vector<RawFields> records = {{"Book", "\xc4\xe3 L1", "w1", "\xff", "n.", "e1"},
                                          {"Book", "\xc4\xe3 L1", "w2", "\xff", "n.", "e2"},
                                          {"Book", "\xc4\xe3 L1", "w2", "\xfe", "v.", "e2"}};
  std::string bytes;
  for (std::size_t r = 0; r < records.size(); ++r) {
    bytes += RawRecord(records[r], static_cast<std::uint8_t>(r + 1));
  }
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    RecordImage image;
    const CourseImageReport report = ParseInto(image, bytes.substr(0, length));
    // What a reader must keep: every text whose count and bytes lie inside the prefix, in
    // order, until the first that does not.
    std::size_t at = 0;
    std::size_t escaped = 0;
    std::size_t whole = 0;
    bool cut = false;
    for (std::size_t r = 0; r < records.size() && !cut && at < length; ++r) {
      for (std::size_t f = 0; f < kTextFields; ++f) {
        const std::size_t end = at + 2 + records[r][f].size();
        const std::u16string expected =
            end <= length && !cut ? DecodeAlone(records[r][f], escaped) : u"";
        cut = cut || end > length;
        at = cut ? at : end;
        EXPECT_EQ(image[r].texts[f], expected) << "length " << length << ", record " << r;
      }
      cut = cut || at + kNumberBytes > length;
      at += kNumberBytes;
      if (!cut) ++whole;
      EXPECT_EQ(image[r].number1[0], cut ? 0 : r + 1) << "length " << length;
    }
    EXPECT_EQ(report.wholeRecords, whole) << "length " << length;
    EXPECT_EQ(report.cutOff, cut) << "length " << length;
    EXPECT_EQ(report.escapedBytes, escaped) << "length " << length;
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

TEST(CourseFile, ACourseFileIsExactlyItsRecordsWhateverItHeldBefore) {
  TempDir dir;
  const std::string path = dir.file("c1.dat");
  WriteBytes(path, Image(SampleTable(20)) + "old tail");
  const RecordTable shorter = SampleTable(5);
  ASSERT_TRUE(WriteCourseFile(path, shorter).ok());
  EXPECT_EQ(ReadBytes(path), Image(shorter));
}

TEST(CourseFile, TheHandOffWrittenOverALongerFileKeepsItsTail) {
  TempDir dir;
  const std::string path = dir.file("900_1.dat");
  const std::string longer = Image(SampleTable(20));
  WriteBytes(path, longer);
  const RecordTable shorter = SampleTable(5);
  ASSERT_TRUE(WriteHandOffFile(path, shorter).ok());

  const std::string written = ReadBytes(path);
  const std::string image = Image(shorter);
  ASSERT_EQ(written.size(), longer.size());
  EXPECT_EQ(written.substr(0, image.size()), image);
  EXPECT_EQ(written.substr(image.size()), longer.substr(image.size()));
  RecordTable back;
  EXPECT_TRUE(ReadCourseFile(path, back).status.ok());
  EXPECT_EQ(back, shorter);
}

// Bytes [offset, offset + size) of a file.
std::string BytesAt(const std::string& path, std::uint64_t offset, std::size_t size) {
  std::string bytes(size, '\0');
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  EXPECT_GE(fd, 0) << path;
  EXPECT_EQ(::pread(fd, bytes.data(), size, static_cast<off_t>(offset)),
            static_cast<ssize_t>(size));
  ::close(fd);
  return bytes;
}

std::uint64_t AllocatedBytes(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return static_cast<std::uint64_t>(st.st_blocks) * 512;
}

// A book whose records hold `textBytes` bytes in each of the English and Chinese fields.
RecordTable LongTextTable(std::size_t records, std::size_t textBytes) {
  RecordTable table;
  for (std::size_t i = 0; i < records; ++i) {
    table[i] = MakeRecord({"Book", "Unit " + std::to_string(i / 10),
                           std::string(textBytes, static_cast<char>('a' + i % 26)),
                           std::string(textBytes, 'z'), "n.", ""},
                          static_cast<std::uint32_t>(i + 1));
  }
  return table;
}

constexpr std::uint64_t kTwoGigabytes = std::uint64_t{2} << 30;

TEST(CourseFile, ReadsRecordByRecordAndNeverTheTailPastTheLastSlot) {
  const std::string longTexts = Image(LongTextTable(kRecordSlots, 600));  // 3.6 MB of records
  struct Case {
    const char* what;
    std::string bytes;   // the file's first bytes
    std::uint64_t size;  // its size: a hole of zeros follows them
  };
  const Case cases[] = {
      {"a whole book, then a 2 GB hole", Image(SampleTable(kRecordSlots)), kTwoGigabytes},
      {"a short book (its empty records zeros), then a 2 GB hole", Image(SampleTable(40)),
       kTwoGigabytes},
      {"the longest texts a record holds, then a 2 GB hole", Image(LongTextTable(5, 0xFFFF)),
       kTwoGigabytes},
      {"records longer than one first read, then a tail", longTexts + "tail", longTexts.size() + 4},
      {"a long book cut off in its last records", longTexts.substr(0, longTexts.size() - 1000),
       longTexts.size() - 1000},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.file("c1.dat");
    WriteBytes(path, c.bytes);
    std::filesystem::resize_file(path, c.size);
    // The same bytes parsed whole in memory; the hole only adds bytes past the last slot.
    CourseImageReport expected;
    const RecordTable parsed = Parse(c.bytes, &expected);
    expected.bytesBeyond += c.size - c.bytes.size();

    RecordTable table;
    CourseReadResult result;
    const auto grew = PeakMemoryGrowth([&] { result = ReadCourseFile(path, table); });
    ASSERT_TRUE(result.status.ok()) << c.what;
    EXPECT_LT(grew, c.bytes.size() * 4 + (40u << 20)) << c.what << ": never the hole";
    EXPECT_EQ(table, parsed) << c.what;
    EXPECT_EQ(result.report.wholeRecords, expected.wholeRecords) << c.what;
    EXPECT_EQ(result.report.cutOff, expected.cutOff) << c.what;
    EXPECT_EQ(result.report.bytesBeyond, expected.bytesBeyond) << c.what;
    EXPECT_LT(AllocatedBytes(path), 64u << 20) << c.what << ": the test's file stays sparse";
  }
}

TEST(CourseFile, TheHandOffOverAHugeOlderFileKeepsItsTailAndItsHoles) {
  TempDir dir;
  const std::string path = dir.file("900_1.dat");
  const std::string older = Image(SampleTable(kRecordSlots));
  const std::string marker = "bytes far out in the older file's tail";
  constexpr std::uint64_t kMarkerAt = std::uint64_t{300} << 20;
  constexpr std::uint64_t kOlderSize = std::uint64_t{512} << 20;
  WriteBytes(path, older);
  std::filesystem::resize_file(path, kOlderSize);
  {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, marker.data(), marker.size(), kMarkerAt),
              static_cast<ssize_t>(marker.size()));
    ::close(fd);
  }

  const RecordTable lesson = SampleTable(5);
  FileStatus written;
  const auto grew = PeakMemoryGrowth([&] { written = WriteHandOffFile(path, lesson); });
  ASSERT_TRUE(written.ok()) << written.message();
  EXPECT_LT(grew, 40u << 20) << "the tail never goes through memory";
  const std::string image = Image(lesson);
  EXPECT_EQ(std::filesystem::file_size(path), kOlderSize);
  EXPECT_EQ(BytesAt(path, 0, image.size()), image);
  EXPECT_EQ(BytesAt(path, image.size(), older.size() - image.size()), older.substr(image.size()));
  EXPECT_EQ(BytesAt(path, kMarkerAt, marker.size()), marker);
  EXPECT_EQ(BytesAt(path, kMarkerAt - 4096, 4096), std::string(4096, '\0'));
  EXPECT_EQ(BytesAt(path, kOlderSize - 4096, 4096), std::string(4096, '\0'));
  EXPECT_LT(AllocatedBytes(path), 16u << 20) << "the holes are kept";
  RecordTable back;
  ASSERT_TRUE(ReadCourseFile(path, back).status.ok());
  EXPECT_EQ(back, lesson);
}

TEST(CourseFile, ItsIdentityTellsAnyChangeToTheRecordsOrTheFile) {
  TempDir dir;
  const std::string path = dir.file("c1.dat");
  const RecordTable book = SampleTable(30);
  suite::FileIdentity written;
  ASSERT_TRUE(WriteCourseFile(path, book, &written).ok());
  RecordTable table;
  suite::FileIdentity read;
  ASSERT_TRUE(ReadCourseFile(path, table, &read).status.ok());
  EXPECT_EQ(read, written) << "what was written is what is read";

  const auto keepTime = [&path](const std::function<void()>& change) {
    struct stat before {};
    ::stat(path.c_str(), &before);
    change();
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
  };
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"saved again alike (a new file)", [&] { WriteCourseFile(path, book); }},
      {"one byte changed in place, size and time kept",
       [&] {
         keepTime([&] {
           const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
           ::pwrite(fd, "X", 1, 10);
           ::close(fd);
         });
       }},
      {"bytes added past the records, time kept",
       [&] { keepTime([&] { std::filesystem::resize_file(path, 4 << 20); }); }},
      {"only its time changed",
       [&] {
         const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
         ::utimensat(AT_FDCWD, path.c_str(), times, 0);
       }},
  };
  for (const auto& [what, change] : changes) {
    ASSERT_TRUE(WriteCourseFile(path, book).ok());
    suite::FileIdentity before;
    ReadCourseFile(path, table, &before);
    change();
    suite::FileIdentity after;
    ReadCourseFile(path, table, &after);
    EXPECT_NE(after, before) << what;
  }
  suite::FileIdentity again;
  ReadCourseFile(path, table, &again);
  suite::FileIdentity onceMore;
  ReadCourseFile(path, table, &onceMore);
  EXPECT_EQ(again, onceMore) << "reading changes nothing";
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
