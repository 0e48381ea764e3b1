// SPDX-License-Identifier: MIT
// Chinese punctuation and symbols on their whole way: a book built by coursetool, dumped
// again, listed by the chooser, handed off and shown on the learner's cards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <sstream>

#include "commands.h"
#include "course_file.h"
#include "cp936.h"
#include "form1.h"
#include "learn_window.h"
#include "test_support.h"
#include "utf8.h"

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

// Every character of GB2312's rows 1 to 9 (punctuation, numbers in circles and brackets,
// full-width forms, kana, Greek, Cyrillic, pinyin, box drawing), a row a lesson entry.
std::vector<std::u16string> SymbolRows() {
  const auto& codec = course::Cp936::instance();
  std::vector<std::u16string> rows;
  for (std::uint32_t lead = 0xA1; lead <= 0xA9; ++lead) {
    std::u16string row;
    for (std::uint32_t trail = 0xA1; trail <= 0xFE; ++trail) {
      const char16_t c = codec.charOf(lead << 8 | trail);
      const bool privateUse = c >= 0xE000 && c <= 0xF8FF;
      if (c != course::Cp936::kNoChar && !privateUse) row.push_back(c);
    }
    rows.push_back(row);
  }
  return rows;
}

// The meanings teachers type, beside the rows.
const std::u16string kMeanings[] = {
    u"吸收；吸引（注意力）", u"放弃。",         u"遗弃、抛弃",        u"太棒了！",
    u"abandon——放弃",        u"放弃（名词）。", u"“有志者，事竟成。”"};

QString Q(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

std::string Utf8(const std::u16string& text) {
  return course::ToUtf8(text);
}

class PunctuationPath : public ::testing::Test {
 protected:
  suite::FilePlaces places() const {
    return suite::FilePlaces(app_.path().string(), user_.file("lumadesk"), true);
  }
  TempDir app_;
  TempDir user_;
};

TEST_F(PunctuationPath, EverySymbolIsBuiltDumpedListedHandedOffAndShown) {
  std::vector<std::u16string> meanings = SymbolRows();
  ASSERT_EQ(meanings.size(), 9u);
  ASSERT_GE(meanings[0].size(), 90u) << "row 1 holds 94 marks";
  meanings.insert(meanings.end(), std::begin(kMeanings), std::end(kMeanings));

  // Built from the dump form, as a teacher's tool would write it.
  std::ostringstream source;
  for (std::size_t i = 0; i < meanings.size(); ++i) {
    source << i << "\tBook 1\tUnit 1\tword" << i << '\t' << Utf8(meanings[i])
           << "\tn.\t\t00000000\t00000000\t0000\n";
  }
  WriteBytes(app_.file("source.txt"), source.str());
  std::ostringstream err;
  ASSERT_EQ(coursetool::Build(app_.file("source.txt"), app_.file("c1.dat"), err), 0) << err.str();

  std::ostringstream dumped;
  ASSERT_EQ(coursetool::Dump(app_.file("c1.dat"), dumped, err), 0) << err.str();
  for (std::size_t i = 0; i < meanings.size(); ++i) {
    std::string field = Utf8(meanings[i]);
    field.insert(field.begin(), '\t');
    field.push_back('\t');
    EXPECT_NE(dumped.str().find(field), std::string::npos) << "dump of entry " << i;
  }

  pickwell::Form1 chooser([this] { return places(); });
  chooser.setMessageCall([](QMessageBox::Icon, const QString&, const QString&) {});
  chooser.Form_Load();
  ASSERT_EQ(chooser.List2->count(), static_cast<int>(2 * meanings.size()));
  for (std::size_t i = 0; i < meanings.size(); ++i) {
    EXPECT_EQ(chooser.List2->item(static_cast<int>(2 * i + 1))->text(), Q(meanings[i]))
        << "the chooser's line of entry " << i;
  }
  chooser.Command2->click();
  const std::string book = ReadBytes(app_.file("c1.dat"));
  const std::string handOff = ReadBytes(app_.file("900_1.dat"));
  ASSERT_EQ(handOff.size(), book.size());
  // The hand-off holds the same stored bytes; only the never handed-on last number differs.
  course::RecordTable fromBook;
  course::RecordTable fromHandOff;
  course::ReadCourseFile(app_.file("c1.dat"), fromBook);
  course::ReadCourseFile(app_.file("900_1.dat"), fromHandOff);
  for (std::size_t i = 0; i < meanings.size(); ++i) {
    EXPECT_EQ(fromHandOff[i].text(4), fromBook[i].text(4));
  }

  studydesk::LearnWindow learn(
      places(), [] { return study::Millis{1767600000000}; }, nullptr);
  learn.show();
  learn.start();
  for (std::size_t i = 0; i < meanings.size(); ++i) {
    ASSERT_EQ(learn.card->line1->text(), QString("word%1").arg(i));
    QTest::keyClick(&learn, Qt::Key_Space);
    EXPECT_EQ(learn.card->line2->text(), Q(meanings[i])) << "the card of entry " << i;
    QTest::keyClick(&learn, Qt::Key_3);
  }
}

}  // namespace
