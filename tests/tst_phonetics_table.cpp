// SPDX-License-Identifier: MIT
// The phonetics table beside the books: read line by line with bad lines named, looked up
// whatever the case, merged, and written whole without losing what a teacher wrote.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "phonetics_table.h"
#include "test_support.h"

namespace {

using course::PhoneticsTable;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

struct ReadCase {
  const char* what;
  std::string bytes;
  std::vector<std::pair<std::string, std::string>> found;  // word, phonetics
  std::vector<std::size_t> badLines;
};

TEST(PhoneticsTableRead, TakesGoodLinesAndNamesBadOnes) {
  const std::vector<ReadCase> cases = {
      {"plain lines",
       "abandon\tə'bændən\npatience\tˈpeɪʃəns\n",
       {{"abandon", "ə'bændən"}, {"patience", "ˈpeɪʃəns"}},
       {}},
      {"byte order mark and CRLF",
       "\xEF\xBB\xBF"
       "abandon\təˈbændən\r\nabsorb\təbˈsɔrb\r\n",
       {{"abandon", "əˈbændən"}, {"absorb", "əbˈsɔrb"}},
       {}},
      {"files pasted together keep their byte order marks",
       "abandon\təˈbændən\n\xEF\xBB\xBF"
       "absorb\təbˈsɔrb\n",
       {{"abandon", "əˈbændən"}, {"absorb", "əbˈsɔrb"}},
       {}},
      {"a byte order mark inside a word",
       "ab\xEF\xBB\xBF"
       "andon\tx\n",
       {},
       {1}},
      {"no end of the last line", "abandon\təˈbændən", {{"abandon", "əˈbændən"}}, {}},
      {"blank lines are passed over", "\n  \nabandon\təˈbændən\n\n", {{"abandon", "əˈbændən"}}, {}},
      {"spaces tidied", "  give   up \t ɡɪv  ʌp \n", {{"give up", "ɡɪv ʌp"}}, {}},
      {"the later line of a word wins",
       "abandon\tx\nABANDON\təˈbændən\n",
       {{"abandon", "əˈbændən"}},
       {}},
      {"no tab", "abandon əˈbændən\nabsorb\təbˈsɔrb\n", {{"absorb", "əbˈsɔrb"}}, {1}},
      {"no phonetics", "abandon\t\nabsorb\t  \n", {}, {1, 2}},
      {"no word", "\təˈbændən\n", {}, {1}},
      {"not UTF-8", "abandon\t\xE6\x94\n", {}, {1}},
      {"a control character stops the reading", "abandon\tə\x01\nabsorb\təbˈsɔrb\n", {}, {1}},
      {"a line past the bound stops the reading",
       "abandon\təˈbændən\n" + std::string(PhoneticsTable::kLongestLine + 10, 'a') +
           "\tx\nabsorb\tx\n",
       {{"abandon", "əˈbændən"}},
       {2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    WriteBytes(dir.file("phonetics.txt"), c.bytes);
    PhoneticsTable table;
    const auto read = course::ReadPhoneticsTable(dir.file("phonetics.txt"), table);
    EXPECT_TRUE(read.status.ok()) << read.status.message();
    std::vector<std::size_t> bad;
    for (const auto& line : read.badLines) bad.push_back(line.number);
    EXPECT_EQ(bad, c.badLines);
    EXPECT_EQ(table.size(), c.found.size());
    for (const auto& [word, phonetics] : c.found) EXPECT_EQ(table.find(word), phonetics) << word;
  }
}

TEST(PhoneticsTableRead, FileTroubles) {
  TempDir dir;
  PhoneticsTable table;
  table.put("old", "oʊld");
  const auto missing = course::ReadPhoneticsTable(dir.file("phonetics.txt"), table);
  EXPECT_TRUE(missing.ok()) << "a folder without a table has no phonetics";
  EXPECT_TRUE(table.empty());

  WriteBytes(dir.file("big.txt"), std::string(PhoneticsTable::kLargestFile + 1, 'a'));
  const auto big = course::ReadPhoneticsTable(dir.file("big.txt"), table);
  EXPECT_EQ(big.status.error, EFBIG);
  EXPECT_TRUE(table.empty());

  std::filesystem::create_directory(dir.file("folder"));
  EXPECT_EQ(course::ReadPhoneticsTable(dir.file("folder"), table).status.error, EISDIR);
}

TEST(PhoneticsTable, FindsWordsWhateverTheirCase) {
  PhoneticsTable table;
  ASSERT_TRUE(table.put("Abandon", "əˈbændən"));
  ASSERT_TRUE(table.put("give up", "ɡɪv ʌp"));
  EXPECT_EQ(table.find("abandon"), "əˈbændən");
  EXPECT_EQ(table.find(" ABANDON "), "əˈbændən");
  EXPECT_EQ(table.find("Give  Up"), "ɡɪv ʌp");
  EXPECT_EQ(table.find("give"), std::nullopt);
  EXPECT_EQ(table.text(), "Abandon\təˈbændən\ngive up\tɡɪv ʌp\n") << "the spelling is kept";
}

TEST(PhoneticsTable, RefusesWhatTheFileCannotHold) {
  PhoneticsTable table;
  EXPECT_FALSE(table.put("", "x"));
  EXPECT_FALSE(table.put("a\nb", "x"));
  EXPECT_FALSE(table.put("abandon", "\xC3"));
  EXPECT_FALSE(table.put("abandon", std::string(PhoneticsTable::kLongestLine, 'x')));
  EXPECT_TRUE(table.empty());
  ASSERT_TRUE(table.put("abandon", "əˈbændən"));
  ASSERT_TRUE(table.put("ABANDON", "")) << "empty phonetics remove the word";
  EXPECT_TRUE(table.empty());
}

TEST(PhoneticsTable, KeepsForLinesWhatTheirEntriesShow) {
  PhoneticsTable table;
  for (const auto& [word, sound] : {std::pair{"Give up", "ɡɪv ˈʌp"},
                                    {"give", "ɡɪv"},
                                    {"well-known", "ˌwelˈnoʊn"},
                                    {"café", "kæˈfeɪ"},
                                    {"abandon", "əˈbændən"},
                                    {"up", "ʌp"}}) {
    ASSERT_TRUE(table.put(word, sound));
  }
  const PhoneticsTable kept = table.forLines({"GIVE  UP", "a well-known Café,", "will"});
  EXPECT_EQ(kept.text(),
            "café\tkæˈfeɪ\ngive\tɡɪv\nGive up\tɡɪv ˈʌp\nup\tʌp\nwell-known\tˌwelˈnoʊn\n")
      << "a whole line and every word of a line; abandon is in no line";
  EXPECT_TRUE(table.forLines({}).empty());
}

TEST(PhoneticsTableUpdate, KeepsOtherWordsAndMakesTheChanges) {
  TempDir dir;
  const std::string path = dir.file("phonetics.txt");
  WriteBytes(path, "absorb\təbˈsɔrb\nabandon\told\nzeal\tzil\n");
  PhoneticsTable before;
  before.put("abandon", "old");
  before.put("zeal", "zil");
  PhoneticsTable after;
  after.put("abandon", "əˈbændən");
  after.put("academic", "ˌækəˈdɛmɪk");
  ASSERT_TRUE(course::UpdatePhoneticsTable(path, before, after).ok());
  EXPECT_EQ(ReadBytes(path), "abandon\təˈbændən\nabsorb\təbˈsɔrb\nacademic\tˌækəˈdɛmɪk\n")
      << "zeal was removed, absorb left as it was";
}

TEST(PhoneticsTableUpdate, MakesTheTableOnlyForPhonetics) {
  TempDir dir;
  const std::string path = dir.file("phonetics.txt");
  ASSERT_TRUE(course::UpdatePhoneticsTable(path, {}, {}).ok());
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PhoneticsTableUpdate, LeavesATableWithBadLinesAsItIs) {
  TempDir dir;
  const std::string path = dir.file("phonetics.txt");
  const std::string typed = "absorb\təbˈsɔrb\nabandon əˈbændən\n";
  WriteBytes(path, typed);
  PhoneticsTable after;
  after.put("academic", "ˌækəˈdɛmɪk");
  const auto status = course::UpdatePhoneticsTable(path, {}, after);
  EXPECT_EQ(status.error, EBADMSG);
  EXPECT_NE(status.reason.find("line 2"), std::string::npos) << status.reason;
  EXPECT_EQ(ReadBytes(path), typed);
}

TEST(PhoneticsTableUpdate, AFailedWriteLeavesTheOldTable) {
  TempDir dir;
  const std::string path = dir.file("phonetics.txt");
  WriteBytes(path, "absorb\təbˈsɔrb\n");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  PhoneticsTable after;
  after.put("academic", "ˌækəˈdɛmɪk");
  EXPECT_FALSE(course::UpdatePhoneticsTable(path, {}, after).ok());
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_EQ(ReadBytes(path), "absorb\təbˈsɔrb\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "no temporary file is left";
}

TEST(ReadFolderPhonetics, TheLearnersOwnTableOverTheApplicationFolders) {
  TempDir app;
  TempDir user;
  WriteBytes(app.file("phonetics.txt"), "abandon\tapp\nabsorb\təbˈsɔrb\n");
  const suite::FilePlaces writable(app.path().string(), user.path().string(), true);
  EXPECT_EQ(course::ReadFolderPhonetics(writable).find("abandon"), "app");
  const suite::FilePlaces shared(app.path().string(), user.path().string(), false);
  EXPECT_EQ(course::ReadFolderPhonetics(shared).find("abandon"), "app") << "no own table yet";
  WriteBytes(user.file("phonetics.txt"), "abandon\town\nbad line\n");
  const auto table = course::ReadFolderPhonetics(shared);
  EXPECT_EQ(table.find("abandon"), "own");
  EXPECT_EQ(table.find("absorb"), "əbˈsɔrb");
}

TEST(PhoneticsTable, LivesBesideTheBook) {
  EXPECT_EQ(course::PhoneticsPathBeside("/app/c1.dat"), "/app/phonetics.txt");
  EXPECT_EQ(course::PhoneticsPathBeside("c1.dat"), "phonetics.txt");
}

}  // namespace
