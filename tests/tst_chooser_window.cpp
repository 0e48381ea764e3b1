// SPDX-License-Identifier: MIT
// The chooser window driven through its real widgets, in application folders of our own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "course_file.h"
#include "form1.h"
#include "test_support.h"
#include "twips.h"
#include "window_checks.h"

namespace {

using course::RecordTable;
using testsupport::Display;
using testsupport::MakeRecord;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

struct Message {
  QMessageBox::Icon icon;
  QString title;
  QString text;
};

// Lessons as (stored name, entry count); entries are numbered through the whole book.
RecordTable Book(const std::vector<std::pair<std::string, int>>& lessons,
                 const std::string& tag = "") {
  RecordTable table;
  std::size_t slot = 0;
  for (const auto& [name, entries] : lessons) {
    for (int e = 0; e < entries; ++e, ++slot) {
      table[slot] = MakeRecord({"T" + tag, name, tag + "word" + std::to_string(slot),
                                "gloss" + std::to_string(slot), "n.", "ex"},
                               static_cast<std::uint32_t>(slot + 1));
    }
  }
  return table;
}

std::string Image(const RecordTable& table) {
  std::string image;
  EXPECT_TRUE(course::SerializeCourseTable(table, image));
  return image;
}

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int row = 0; row < list->count(); ++row) items << list->item(row)->text();
  return items;
}

void ClickRow(QListWidget* list, int row) {
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

class ChooserWindow : public ::testing::Test {
 protected:
  std::string file(const std::string& name) const { return dir_.file(name); }
  void writeBook(const std::string& name, const RecordTable& table) {
    ASSERT_TRUE(course::WriteCourseFile(file(name), table).ok());
  }
  std::string userFile(const std::string& name) const { return userDir_.file("lumadesk/" + name); }
  // The window on the folder, writable or not; the per-user folder lies in userDir_.
  // Messages are recorded instead of shown unless `realMessages`.
  pickwell::Form1& start(bool appFolderWritable = true, bool realMessages = false) {
    const suite::FilePlaces places(dir_.path().string(), userDir_.file("lumadesk"),
                                   appFolderWritable);
    form_ = std::make_unique<pickwell::Form1>([places] { return places; });
    if (!realMessages) {
      form_->setMessageCall(
          [this](QMessageBox::Icon icon, const QString& title, const QString& text) {
            messages_.push_back({icon, title, text});
          });
    }
    form_->Form_Load();
    return *form_;
  }

  TempDir dir_;
  TempDir userDir_;
  std::unique_ptr<pickwell::Form1> form_;
  std::vector<Message> messages_;
};

TEST_F(ChooserWindow, StartsOnLessonOneOfBookOne) {
  const RecordTable book = Book({{"W", 3}, {"X", 2}});
  writeBook("c1.dat", book);
  auto& form = start();
  EXPECT_EQ(RecordTable(form.session().courseRecords()), book);
  EXPECT_EQ(form.session().lessonNames()[0], u"W");
  EXPECT_EQ(form.session().lessonNames()[1], u"X");
  EXPECT_EQ(form.session().lessonNames()[2], u"");  // the run of empty records
  EXPECT_EQ(form.session().lessonRecords()[2].text(3), u"word2");
  EXPECT_TRUE(form.session().lessonRecords()[3].isEmpty());
  EXPECT_EQ(form.session().courseFilePath(), file("c1.dat"));
  EXPECT_EQ(form.session().handOffFilePath(), file("900_1.dat"));
  EXPECT_EQ(form.List3->currentRow(), 0);
  EXPECT_EQ(Items(form.List1), (QStringList{"a", "b"}));
  EXPECT_EQ(form.List1->currentRow(), 0);
  EXPECT_TRUE(form.List1->currentItem()->isSelected());
  EXPECT_EQ(Items(form.List2),
            (QStringList{Display("word0"), Display("gloss0"), Display("word1"), Display("gloss1"),
                         Display("word2"), Display("gloss2")}));
  EXPECT_EQ(form.List2->currentRow(), 0);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ChooserWindow, ConfirmRightAfterStartHandsOffLessonOne) {
  const RecordTable book = Book({{"W", 3}, {"X", 2}});
  writeBook("c1.dat", book);
  auto& form = start();
  form.Command2->click();

  RecordTable expected;
  for (std::size_t i = 0; i < 3; ++i) {
    expected[i] = book[i];
    expected[i].number3 = {};  // never handed on
  }
  const std::string first = ReadBytes(file("900_1.dat"));
  EXPECT_EQ(first, Image(expected));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].icon, QMessageBox::Information);
  EXPECT_EQ(messages_[0].title, "提示窗口");
  EXPECT_EQ(messages_[0].text, "选课成功!");

  form.Command2->click();
  EXPECT_EQ(ReadBytes(file("900_1.dat")), first);
}

TEST_F(ChooserWindow, OnAReadOnlyFolderTheChoiceGoesToTheUsersOwnFolder) {
  writeBook("c1.dat", Book({{"W", 2}}, "shared"));
  std::filesystem::create_directories(userDir_.path() / "lumadesk");
  ASSERT_TRUE(course::WriteCourseFile(userFile("c1.dat"), Book({{"X", 1}}, "own")).ok());
  auto& form = start(false);
  EXPECT_EQ(form.session().courseFilePath(), userFile("c1.dat")) << "the user's own copy first";
  EXPECT_EQ(form.List2->item(0)->text(), Display("ownword0"));
  EXPECT_EQ(form.session().handOffFilePath(), userFile("900_1.dat"));
  form.Command2->click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "选课成功!");
  EXPECT_TRUE(std::filesystem::exists(userFile("900_1.dat")));
  EXPECT_FALSE(std::filesystem::exists(file("900_1.dat")));
}

TEST_F(ChooserWindow, APerUserFolderThatCannotBeMadeIsNamed) {
  writeBook("c1.dat", Book({{"W", 2}}));
  WriteBytes(userDir_.file("lumadesk"), "a file in the way");
  auto& form = start(false);
  form.Command2->click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].title, "错误提示");
  EXPECT_EQ(messages_[0].text.toStdString(),
            QStringLiteral("无法写入选课文件“%1”：无法建立文件夹“%2”：路径中有一部分不是文件夹。"
                           "选课没有保存。")
                .arg(QString::fromStdString(userFile("900_1.dat")),
                     QString::fromStdString(userDir_.file("lumadesk")))
                .toStdString());
}

TEST_F(ChooserWindow, MessageBoxesSpeakChinese) {
  writeBook("c1.dat", Book({{"W", 1}}));
  auto& form = start(true, true);
  QString text;
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    for (const QAbstractButton* button : box->buttons()) buttons << button->text();
    box->accept();
  });
  form.Command2->click();
  EXPECT_EQ(text, "选课成功!");
  EXPECT_EQ(buttons, QStringList{"确定"});
}

TEST_F(ChooserWindow, SwitchingBooksAndBackReloadsTheFirstLesson) {
  writeBook("c1.dat", Book({{"W", 2}, {"X", 2}}, "one"));
  writeBook("c2.dat", Book({{"Y", 1}, {"Z", 1}, {"[", 1}}, "two"));
  auto& form = start();
  ClickRow(form.List1, 1);
  EXPECT_EQ(form.List2->item(0)->text(), Display("oneword2"));

  ClickRow(form.List3, 1);
  EXPECT_EQ(form.session().courseFilePath(), file("c2.dat"));
  EXPECT_EQ(Items(form.List1), (QStringList{"c", "d", "e"}));
  EXPECT_EQ(form.List2->item(0)->text(), Display("twoword0"));

  ClickRow(form.List3, 0);
  EXPECT_EQ(form.session().courseFilePath(), file("c1.dat"));
  EXPECT_EQ(form.List1->currentRow(), 0);
  EXPECT_EQ(form.List2->item(0)->text(), Display("oneword0"));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ChooserWindow, ClickingTheSelectedLessonShowsWhatTheFileHoldsNow) {
  writeBook("c1.dat", Book({{"W", 2}}, "old"));
  auto& form = start();
  writeBook("c1.dat", Book({{"W", 2}}, "new"));
  ClickRow(form.List1, 0);
  EXPECT_EQ(form.List2->item(0)->text(), Display("newword0"));
}

TEST_F(ChooserWindow, KeyboardMovesThroughLessonsAndFocusPicksNothing) {
  writeBook("c1.dat", Book({{"W", 1}, {"X", 1}, {"Y", 1}}));
  auto& form = start();
  ASSERT_TRUE(testsupport::Activate(&form));
  form.List1->setFocus();
  QTest::keyClick(form.List1, Qt::Key_Down);
  EXPECT_EQ(form.List2->item(0)->text(), Display("word1"));
  QTest::keyClick(form.List1, Qt::Key_Down);
  EXPECT_EQ(form.List2->item(0)->text(), Display("word2"));
}

TEST_F(ChooserWindow, LessonViewFollowsTheRunsOfTheFile) {
  // A lesson spread over the file, a name only the last record carries, a lesson of 8
  // entries viewed before one of 5.
  RecordTable book = Book({{"W", 8}, {"X", 5}, {"W", 2}});
  book[course::kRecordSlots - 1] = MakeRecord({"", "Z", "never", "shown"});
  writeBook("c1.dat", book);
  auto& form = start();
  EXPECT_EQ(Items(form.List1), (QStringList{"a", "b", "a"}));
  EXPECT_EQ(form.List2->count(), 20);  // both runs of a, in file order
  EXPECT_EQ(form.List2->item(16)->text(), Display("word13"));

  ClickRow(form.List1, 1);
  EXPECT_EQ(form.List2->count(), 10);
  form.Command2->click();
  RecordTable handedOff;
  ASSERT_TRUE(course::ReadCourseFile(file("900_1.dat"), handedOff).status.ok());
  EXPECT_EQ(handedOff[4].text(3), u"word12");
  for (std::size_t slot = 5; slot < 10; ++slot) {  // what lesson a left behind
    EXPECT_TRUE(handedOff[slot].text(3).empty());
    EXPECT_TRUE(handedOff[slot].text(4).empty());
    EXPECT_EQ(handedOff[slot].text(2), u"W");
    EXPECT_EQ(handedOff[slot].number1, book[slot < 8 ? slot : slot + 5].number1);
  }
}

TEST_F(ChooserWindow, ConfirmOverALongerHandOffKeepsItsTail) {
  writeBook("c1.dat", Book({{"W", 2}}));
  const std::string older = Image(Book({{"Q", 40}})) + "tail";
  WriteBytes(file("900_1.dat"), older);
  auto& form = start();
  form.Command2->click();
  const std::string now = ReadBytes(file("900_1.dat"));
  ASSERT_EQ(now.size(), older.size());
  EXPECT_EQ(now.substr(now.size() - 4), "tail");
}

TEST_F(ChooserWindow, AMissingBookIsReportedOnceAndLeavesTheListsEmpty) {
  writeBook("c1.dat", Book({{"W", 2}}));
  auto& form = start();
  ClickRow(form.List3, 2);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(messages_[0].text.contains(QString::fromStdString(file("c3.dat"))));
  EXPECT_TRUE(messages_[0].text.contains("文件不存在"));
  EXPECT_EQ(form.List1->count(), 0);
  EXPECT_EQ(form.List2->count(), 0);
  EXPECT_FALSE(std::filesystem::exists(file("c3.dat")));

  // Nothing is on show, so nothing may be handed off as if it were chosen.
  form.Command2->click();
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_TRUE(messages_[1].text.contains("900_1.dat"));
  EXPECT_FALSE(std::filesystem::exists(file("900_1.dat")));

  ClickRow(form.List3, 0);
  EXPECT_EQ(Items(form.List1), QStringList{"a"});
}

TEST_F(ChooserWindow, AStartWithoutBookOneGivesOneMessage) {
  auto& form = start();
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_EQ(form.List1->count(), 0);
}

TEST_F(ChooserWindow, AFailedHandOffSaysWhyAndKeepsTheOldFile) {
  writeBook("c1.dat", Book({{"W", 2}, {"X", 1}}));
  WriteBytes(file("900_1.dat"), "older hand-off");
  chmod(file("900_1.dat").c_str(), 0444);
  auto& form = start();
  form.Command2->click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(messages_[0].text.contains(QString::fromStdString(file("900_1.dat"))));
  EXPECT_FALSE(messages_[0].text.contains("选课成功"));
  EXPECT_EQ(ReadBytes(file("900_1.dat")), "older hand-off");

  ClickRow(form.List1, 1);  // the window goes on working
  EXPECT_EQ(form.List2->item(0)->text(), Display("word2"));
}

TEST_F(ChooserWindow, ListsAtMost129LessonsAndSaysSo) {
  RecordTable book;
  for (std::size_t i = 0; i < 140; ++i) {
    book[i] = MakeRecord({"", std::string("L").append(std::to_string(i)), "w", "g"});
  }
  writeBook("c1.dat", book);
  auto& form = start();
  EXPECT_EQ(form.List1->count(), 129);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].text.contains("129"));
}

TEST_F(ChooserWindow, LayoutKeyboardOrderAndPlacement) {
  writeBook("c1.dat", Book({{"W", 1}}));
  auto& form = start();
  EXPECT_EQ(form.windowTitle(), "选课       Zuvizuz  网站: " SUITE_WEB_ADDRESS);
  EXPECT_EQ(Items(form.List3), (QStringList{"大学英语精读第一册", "大学英语精读第二册",
                                            "大学英语精读第三册", "大学英语精读第四册"}));
  EXPECT_EQ(form.List2->geometry(), desk::TwipsRect(3960, 240, 7575, 7620));
  EXPECT_EQ(form.Command2->geometry(), QRect(40, 456, 65, 65));
  EXPECT_GE(form.Command1->geometry().top(), form.height());  // never seen
  EXPECT_EQ(form.Command2->accessibleName(), "确 定");
  EXPECT_EQ(form.List3->accessibleName(), "课本（册）");
  EXPECT_EQ(form.List1->accessibleName(), "这一册的课");
  EXPECT_EQ(form.List2->accessibleName(), "这一课的词条");

  ASSERT_TRUE(testsupport::Activate(&form));
  form.List3->setFocus();
  const QWidget* expected[] = {form.Command1, form.List1,    form.List2,
                               form.Command2, form.Command3, form.List3};
  for (const QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
}

TEST_F(ChooserWindow, TheHiddenButtonRebuildsTheIndexFromTheKeyboard) {
  writeBook("c1.dat", Book({{"W", 1}}));
  auto& form = start();
  ASSERT_TRUE(testsupport::Activate(&form));
  writeBook("c1.dat", Book({{"W", 1}, {"X", 1}}));
  form.List3->setFocus();
  QTest::keyClick(form.List3, Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(Items(form.List1), (QStringList{"a", "b"}));
}

TEST_F(ChooserWindow, EnterPressesTheFocusedButtonAndNothingElse) {
  writeBook("c1.dat", Book({{"W", 1}}));
  auto& form = start();
  ASSERT_TRUE(testsupport::Activate(&form));
  // On the lists Enter and Esc press no button: nothing is written and the window stays.
  for (desk::ChoiceList* list : {form.List3, form.List1, form.List2}) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Escape);
  }
  EXPECT_FALSE(std::filesystem::exists(file("900_1.dat")));
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(form.isVisible());

  // Tab to the confirm button, Enter: the lesson is handed off.
  form.List2->setFocus();
  QTest::keyClick(form.List2, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), form.Command2);
  QTest::keyClick(form.Command2, Qt::Key_Return);
  EXPECT_TRUE(std::filesystem::exists(file("900_1.dat")));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "选课成功!");

  QTest::keyClick(form.Command2, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), form.Command3);
  QTest::keyClick(form.Command3, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_FALSE(form.isVisible());
}

// How many of the points in the middle of a list's left, right and bottom edges are drawn in
// the highlight colour.
int FramedEdges(QWidget* form, const QListWidget* list) {
  const QImage drawn = form->grab().toImage();
  const QWidget* view = list->viewport();
  const QRect inside = view->rect();
  const QColor highlight = list->palette().color(QPalette::Highlight);
  int framed = 0;
  for (const QPoint at :
       {QPoint(inside.left(), inside.center().y()), QPoint(inside.right(), inside.center().y()),
        QPoint(inside.center().x(), inside.bottom())}) {
    if (drawn.pixelColor(view->mapTo(form, at)) == highlight) ++framed;
  }
  return framed;
}

TEST_F(ChooserWindow, TheListWithTheKeyboardFocusIsFramedPlainly) {
  writeBook("c1.dat", Book({{"W", 80}, {"X", 2}}));
  auto& form = start();
  ASSERT_TRUE(testsupport::Activate(&form));
  form.List3->setFocus();
  // Walking the Tab order: which list is framed at each stop (none on the hidden button).
  const QListWidget* framedAt[] = {form.List3, nullptr, form.List1, form.List2, nullptr};
  for (const QListWidget* framed : framedAt) {
    for (const QListWidget* list : {form.List3, form.List1, form.List2}) {
      EXPECT_EQ(FramedEdges(&form, list), list == framed ? 3 : 0)
          << list->objectName().toStdString() << " with the focus on "
          << QApplication::focusWidget()->objectName().toStdString();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  // The frame stays whole when the list scrolls under it.
  form.List2->setFocus();
  QTest::keyClick(form.List2, Qt::Key_End);
  ASSERT_GT(form.List2->verticalScrollBar()->value(), 0);
  EXPECT_EQ(FramedEdges(&form, form.List2), 3);
}

TEST_F(ChooserWindow, TakesItsFinalSizeAndMovesUpOnlyOnce) {
  writeBook("c1.dat", Book({{"W", 1}}));
  testsupport::ExpectFinalPlacementOnce(&start(), 250);
}

TEST_F(ChooserWindow, QuitClosesWithoutWriting) {
  writeBook("c1.dat", Book({{"W", 1}}));
  auto& form = start();
  form.Command3->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(std::filesystem::exists(file("900_1.dat")));
}

}  // namespace

namespace {

TEST(ChoiceList, TakingTheFocusPicksNothingAndCodePicksAtOnce) {
  QWidget window;
  auto* list = new desk::ChoiceList(&window);
  list->addItems({"one", "two"});
  int picks = 0;
  QObject::connect(list, &desk::ChoiceList::chosen, [&] { ++picks; });
  window.show();
  ASSERT_TRUE(testsupport::Activate(&window));
  list->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(picks, 0);
  list->selectFromCode(1);
  EXPECT_EQ(picks, 1);
  EXPECT_EQ(list->currentText(), "two");
}

}  // namespace
