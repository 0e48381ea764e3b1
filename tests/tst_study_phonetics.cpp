// SPDX-License-Identifier: MIT
// The phonetics under the English line of a card (课文初记, 复习回忆) and on dictation's miss
// page: the teacher's table beside the books, else the voice's own lexicon marked 美音.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTest>

#include "course_file.h"
#include "dictation_window.h"
#include "learn_window.h"
#include "module1.h"
#include "review_window.h"
#include "test_support.h"
#include "utf8.h"

namespace {

using testsupport::MakeRecord;
using testsupport::TempDir;
using testsupport::WriteBytes;

// The stored form of a text the learner sees.
std::string Stored(const char* display) {
  return course::ToUtf8(*course::ScrambleText(*course::FromUtf8(display)));
}

// A voice with a small lexicon of its own and no sound.
class LexiconVoice final : public study::Voice {
 public:
  std::optional<suite::PcmWave> speak(const std::string&, study::Pace) override {
    return std::nullopt;
  }
  std::vector<std::string> phones(const std::string& word) override {
    if (word == "patience") return {"p", "ey1", "sh", "ax0", "n", "s"};
    if (word == "give") return {"g", "ih1", "v"};
    if (word == "up") return {"ah1", "p"};
    return {};
  }
};

class StudyPhonetics : public ::testing::Test {
 protected:
  void SetUp() override {
    course::RecordTable table;
    const char* entries[][3] = {{"abandon", "放弃；抛弃", "vt."},
                                {"patience", "耐心；忍耐（力）", "n."},
                                {"give up", "放弃、停止。", "v."},
                                {"zzz", "打瞌睡！", ""}};
    std::size_t slot = 0;
    for (const auto& [english, chinese, pos] : entries) {
      table[slot++] = MakeRecord({Stored("大学英语 第一册"), Stored("Unit 1 Growing Up"),
                                  Stored(english), Stored(chinese), Stored(pos)});
    }
    ASSERT_TRUE(course::WriteCourseFile(app_.file("900_1.dat"), table).ok());
    WriteBytes(app_.file("phonetics.txt"), "Abandon\təˈbændən\n");
  }
  suite::FilePlaces places() const {
    return suite::FilePlaces(app_.path().string(), app_.file("user"), true);
  }
  template <typename Window, typename... More>
  std::unique_ptr<Window> open(More... more) {
    auto window = std::make_unique<Window>(
        places(), [this] { return now_; }, &voice_, more...);
    window->show();
    window->start();
    return window;
  }

  TempDir app_;
  LexiconVoice voice_;
  study::Millis now_ = *study::ParseIso("2026-01-05T08:00:00Z");
};

// Every IPA symbol of `label` has its glyph in the label's own font.
void ExpectIpaDrawn(const QLabel* label) {
  const QFontMetrics metrics(label->font());
  for (const char32_t c : label->text().toStdU32String()) {
    if (c >= 0x4E00 && c <= 0x9FFF) continue;  // 美音 comes from the Chinese font
    EXPECT_TRUE(metrics.inFontUcs4(c)) << "U+" << std::hex << static_cast<unsigned>(c);
  }
}

TEST_F(StudyPhonetics, EachCardShowsItsPhoneticsUnderTheEnglishLine) {
  auto window = open<studydesk::LearnWindow>();
  struct Card {
    const char* english;
    const char* phonetics;
    const char* chinese;
  };
  const Card cards[] = {
      {"abandon", "/əˈbændən/", "放弃；抛弃"},              // the teacher's, whatever its case
      {"patience", "美音 /ˈpeɪʃəns/", "耐心；忍耐（力）"},  // the voice's, in the IPA
      {"give up", "美音 /ɡɪv ʌp/", "放弃、停止。"},         // word by word
      {"zzz", "", "打瞌睡！"},                              // nothing known: no line at all
  };
  for (const auto& [english, phonetics, chinese] : cards) {
    SCOPED_TRACE(english);
    EXPECT_EQ(window->card->line1->text(), english);
    EXPECT_EQ(window->card->phonetics->text(), phonetics);
    EXPECT_EQ(window->card->phonetics->isVisible(), *phonetics != 0);
    ExpectIpaDrawn(window->card->phonetics);
    const auto below = [&](QWidget* w) { return w->mapTo(window.get(), QPoint()).y(); };
    if (*phonetics) {
      EXPECT_GT(below(window->card->phonetics), below(window->card->line1));
    }
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(window->card->line2->text(), chinese);
    EXPECT_EQ(window->card->phonetics->isVisible(), *phonetics != 0) << "still shown";
    QTest::keyClick(window.get(), Qt::Key_3);
  }
  EXPECT_TRUE(window->message->isVisible());

  // The next week the same cards come back in review with the same phonetics.
  now_ += 30 * study::kMillisPerDay;
  auto review = open<studydesk::ReviewWindow>();
  ASSERT_TRUE(review->card->isVisible()) << review->message->text().toStdString();
  EXPECT_EQ(review->card->line1->text(), "abandon");
  EXPECT_EQ(review->card->phonetics->text(), "/əˈbændən/");
}

TEST_F(StudyPhonetics, DictationsMissPageShowsThePhonetics) {
  auto window = open<studydesk::DictationWindow>(1u);
  QTest::keyClicks(window->input, "abandom");
  QTest::keyClick(window->input, Qt::Key_Return);
  const QString miss = window->feedback->text();
  EXPECT_TRUE(miss.contains("/əˈbændən/")) << miss.toStdString();
  EXPECT_LT(miss.indexOf("/əˈbændən/"), miss.indexOf("放弃；抛弃"))
      << "between the word and its meaning";
  QTest::keyClick(window->input, Qt::Key_Return);
  QTest::keyClicks(window->input, "patients");
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->feedback->text().contains("美音 /ˈpeɪʃəns/"))
      << window->feedback->text().toStdString();
}

TEST_F(StudyPhonetics, WithoutAVoiceOnlyTheTablesPhoneticsAreShown) {
  auto window = std::make_unique<studydesk::LearnWindow>(
      places(), [this] { return now_; }, nullptr);
  window->show();
  window->start();
  EXPECT_EQ(window->card->phonetics->text(), "/əˈbændən/");
  QTest::keyClick(window.get(), Qt::Key_Space);
  QTest::keyClick(window.get(), Qt::Key_3);
  EXPECT_FALSE(window->card->phonetics->isVisible());
}

}  // namespace
