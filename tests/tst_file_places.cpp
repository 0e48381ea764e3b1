// SPDX-License-Identifier: MIT
// Where a user's files live: the program's folder where the user may write there, else a
// per-user folder that reads look at first.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "chooser_session.h"
#include "course_file.h"
#include "file_places.h"
#include "fixed_names.h"
#include "module1.h"
#include "test_support.h"
#include "utf8.h"

namespace {

using suite::FilePlaces;
using testsupport::MakeRecord;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;
namespace fs = std::filesystem;

// A folder an ordinary user may enter and read but not create files in.
void MakeReadOnlyForOthers(const TempDir& dir) {
  fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
}

TEST(UserDataFolder, FollowsTheXdgRules) {
  EXPECT_EQ(suite::UserDataFolder("/data/home", "/home/li"), "/data/home/lumadesk");
  EXPECT_EQ(suite::UserDataFolder("/data/home/", "/home/li"), "/data/home/lumadesk");
  EXPECT_EQ(suite::UserDataFolder(nullptr, "/home/li"), "/home/li/.local/share/lumadesk");
  EXPECT_EQ(suite::UserDataFolder("", "/home/li"), "/home/li/.local/share/lumadesk");
  EXPECT_EQ(suite::UserDataFolder("data", "/home/li"), "/home/li/.local/share/lumadesk");
  EXPECT_EQ(suite::UserDataFolder(nullptr, nullptr), "");
  EXPECT_EQ(suite::UserDataFolder("rel", "also/rel"), "");
}

TEST(FolderAcceptsNewFiles, TriesTheWayAWriteWould) {
  TempDir dir;
  EXPECT_TRUE(suite::FolderAcceptsNewFiles(dir.path().string()));
  EXPECT_TRUE(fs::is_empty(dir.path())) << "the probe file must not stay behind";
  EXPECT_FALSE(suite::FolderAcceptsNewFiles(dir.file("missing")));

  MakeReadOnlyForOthers(dir);
  const std::string folder = dir.path().string();
  EXPECT_TRUE(testsupport::AsOrdinaryUser([&] { return !suite::FolderAcceptsNewFiles(folder); }));
}

TEST(FolderAcceptsNewFiles, NotOnAReadOnlyMountEvenForRoot) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a read-only file system needs root";
  TempDir dir;
  if (::mount("suite-test", dir.path().c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0) {
    GTEST_SKIP() << "this machine does not let root mount: " << std::strerror(errno);
  }
  EXPECT_FALSE(suite::FolderAcceptsNewFiles(dir.path().string()));
  ::umount(dir.path().c_str());
}

class Places : public ::testing::Test {
 protected:
  std::string app(const std::string& name) const { return app_.file(name); }
  std::string user(const std::string& name) const { return user_.file("lumadesk/" + name); }
  FilePlaces places(bool writable) const {
    return FilePlaces(app_.path().string(), user_.file("lumadesk"), writable);
  }
  void putUserCopy(const std::string& name, const std::string& bytes) const {
    fs::create_directories(user_.path() / "lumadesk");
    WriteBytes(user(name), bytes);
  }

  TempDir app_;
  TempDir user_;
};

TEST_F(Places, AWritableFolderIsUsedAloneWhateverThePerUserFolderHolds) {
  WriteBytes(app("900_1.dat"), "app");
  putUserCopy("900_1.dat", "stale");
  const FilePlaces writable = places(true);
  EXPECT_EQ(writable.readPath("900_1.dat"), app("900_1.dat"));
  EXPECT_EQ(writable.writePath("900_1.dat"), app("900_1.dat"));
  EXPECT_EQ(writable.readPath("c2.dat"), app("c2.dat"));
  EXPECT_TRUE(writable.prepareWrite("900_1.dat").ok());
}

TEST_F(Places, AReadOnlyFolderReadsThePerUserCopyFirst) {
  const FilePlaces readOnly = places(false);
  EXPECT_EQ(readOnly.readPath("c1.dat"), app("c1.dat")) << "no per-user copy yet";
  EXPECT_EQ(readOnly.writePath("900_1.dat"), user("900_1.dat"));
  putUserCopy("c1.dat", "the teacher's book");
  EXPECT_EQ(readOnly.readPath("c1.dat"), user("c1.dat"));
  EXPECT_EQ(readOnly.readPath("c2.dat"), app("c2.dat"));
}

TEST_F(Places, PrepareWriteMakesThePerUserFolderPrivate) {
  const FilePlaces deep(app_.path().string(), user_.file("a/b/lumadesk"), false);
  ASSERT_TRUE(deep.prepareWrite("900_1.dat").ok());
  struct stat st {};
  ASSERT_EQ(::stat(user_.file("a/b/lumadesk").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(deep.prepareWrite("900_1.dat").ok()) << "an existing folder is fine";
}

TEST_F(Places, AFileInTheWayOfThePerUserFolderIsReportedWithItsPath) {
  WriteBytes(user_.file("lumadesk"), "not a folder");
  suite::FileStatus status = places(false).prepareWrite("900_1.dat");
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.path, user_.file("lumadesk"));
  EXPECT_EQ(status.error, ENOTDIR);
  EXPECT_EQ(ReadBytes(user_.file("lumadesk")), "not a folder");

  const FilePlaces below(app_.path().string(), user_.file("lumadesk/x/lumadesk"), false);
  status = below.prepareWrite("900_1.dat");
  EXPECT_EQ(status.error, ENOTDIR);
  EXPECT_EQ(status.path, user_.file("lumadesk/x/lumadesk"));
}

TEST_F(Places, NoHomeAndAReadOnlyFolderFailsWithoutWritingAnywhere) {
  const FilePlaces homeless(app_.path().string(), "", false);
  EXPECT_EQ(homeless.readPath("c1.dat"), app("c1.dat"));
  const suite::FileStatus status = homeless.prepareWrite("900_1.dat");
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.path, app("900_1.dat"));
}

// The chooser's confirm on a read-only application folder, with a longer old hand-off there.
class HandOffOverReadOnlyFolder : public Places {
 protected:
  void SetUp() override {
    course::RecordTable old;
    old[0] = MakeRecord({"B", "old", "oldword", "oldgloss"});
    std::string image;
    ASSERT_TRUE(course::SerializeCourseTable(old, image));
    oldHandOff_ = image + "tail kept for the other programs";
    WriteBytes(app("900_1.dat"), oldHandOff_);
    book_[0] = MakeRecord({"B", "L1", "alpha", "a"}, 1);
    book_[1] = MakeRecord({"B", "L2", "beta", "b"}, 2);
    ASSERT_TRUE(course::WriteCourseFile(app("c1.dat"), book_).ok());
  }
  chooser::ChooserSession chooseLesson(const FilePlaces& places, const std::u16string& lesson) {
    chooser::ChooserSession session;
    session.setPlaces(places);
    session.chooseBook(*course::FromUtf8(course::kBooks[0].title));
    session.buildLessonIndex();
    session.viewLesson(lesson);
    return session;
  }
  std::string expectedImage(std::size_t slot) const {
    course::RecordTable lesson;  // a gathered entry keeps its texts and first two numbers
    lesson[0].texts = book_[slot].texts;
    lesson[0].number1 = book_[slot].number1;
    lesson[0].number2 = book_[slot].number2;
    std::string image;
    EXPECT_TRUE(course::SerializeCourseTable(lesson, image));
    return image + oldHandOff_.substr(image.size());  // the old file's bytes past the new end
  }

  std::string oldHandOff_;
  course::RecordTable book_;
};

TEST_F(HandOffOverReadOnlyFolder, GoesToThePerUserFolderKeepingTheTailTheUserSaw) {
  const chooser::ChooserSession session =
      chooseLesson(places(false), course::UnscrambleText(u"L1"));
  EXPECT_EQ(session.handOffFilePath(), user("900_1.dat"));
  ASSERT_TRUE(session.confirm().ok());
  EXPECT_TRUE(ReadBytes(user("900_1.dat")) == expectedImage(0));
  EXPECT_TRUE(ReadBytes(app("900_1.dat")) == oldHandOff_) << "the shared folder is never written";
}

TEST_F(HandOffOverReadOnlyFolder, TwoUsersKeepTheirOwnChoices) {
  TempDir secondHome;
  const FilePlaces second(app_.path().string(), secondHome.file("lumadesk"), false);
  ASSERT_TRUE(chooseLesson(places(false), course::UnscrambleText(u"L1")).confirm().ok());
  ASSERT_TRUE(chooseLesson(second, course::UnscrambleText(u"L2")).confirm().ok());
  EXPECT_TRUE(ReadBytes(user("900_1.dat")) == expectedImage(0));
  EXPECT_TRUE(ReadBytes(secondHome.file("lumadesk/900_1.dat")) == expectedImage(1));
}

TEST_F(HandOffOverReadOnlyFolder, AFolderThatCannotBeMadeLosesNothing) {
  WriteBytes(user_.file("lumadesk"), "in the way");
  const chooser::ChooserSession session =
      chooseLesson(places(false), course::UnscrambleText(u"L1"));
  const suite::FileStatus status = session.confirm();
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.path, user_.file("lumadesk"));
  EXPECT_TRUE(ReadBytes(app("900_1.dat")) == oldHandOff_);
  EXPECT_EQ(ReadBytes(user_.file("lumadesk")), "in the way");
}

TEST_F(HandOffOverReadOnlyFolder, AnOrdinaryUserOfTheRealFolderWritesToTheirOwn) {
  MakeReadOnlyForOthers(app_);
  fs::permissions(user_.path(), fs::perms::all);  // a home the ordinary user owns in effect
  const std::string appFolder = app_.path().string();
  const std::string userFolder = user_.file("lumadesk");
  const std::string expected = expectedImage(0);
  EXPECT_TRUE(testsupport::AsOrdinaryUser([&] {
    const FilePlaces real(appFolder, userFolder, suite::FolderAcceptsNewFiles(appFolder));
    return !real.appFolderWritable() &&
           chooseLesson(real, course::UnscrambleText(u"L1")).confirm().ok() &&
           ReadBytes(userFolder + "/900_1.dat") == expected;
  }));
  EXPECT_TRUE(ReadBytes(app("900_1.dat")) == oldHandOff_);
}

}  // namespace
