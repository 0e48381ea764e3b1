// SPDX-License-Identifier: MIT
// 课程编辑 driven through its real widgets: opening by the folder rule, editing with undo and
// redo, the import preview, checks, saving, and keyboard-only use.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>
#include <sstream>

#include "book_edit_command.h"
#include "book_edits.h"
#include "commands.h"
#include "course_file.h"
#include "course_window.h"
#include "import_dialog.h"
#include "lesson_index.h"
#include "module1.h"
#include "test_support.h"
#include "window_checks.h"

namespace {

using coursedesk::CourseWindow;
using coursedesk::ImportDialog;
using testsupport::TempDir;

course::CourseRecord Entry(const std::u16string& lesson, const std::u16string& english,
                           const std::u16string& chinese, std::uint32_t serial) {
  auto record = testsupport::MakeRecord({}, serial);
  record.text(1) = *course::ScrambleText(u"第一册");
  record.text(2) = *course::ScrambleText(lesson);
  record.text(3) = *course::ScrambleText(english);
  record.text(4) = *course::ScrambleText(chinese);
  return record;
}

course::RecordTable SampleBook() {
  course::RecordTable table;
  table[0] = Entry(u"Unit 1", u"market", u"市场", 1);
  table[1] = Entry(u"Unit 1", u"stall", u"货摊", 2);
  table[2] = Entry(u"Unit 2", u"river", u"河", 3);
  return table;
}

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int row = 0; row < list->count(); ++row) items << list->item(row)->text();
  return items;
}

QStringList Column(const QTableWidget* table, int column) {
  QStringList cells;
  for (int row = 0; row < table->rowCount(); ++row) cells << table->item(row, column)->text();
  return cells;
}

// A window on a book of our own in an application folder the test chooses to be writable
// or not; dialogs answered by the test.
struct Desk {
  explicit Desk(bool appWritable = true)
      : places(dir.file("app"), dir.file("user"), appWritable), window(places) {
    std::filesystem::create_directory(dir.file("app"));
    EXPECT_TRUE(course::WriteCourseFile(dir.file("app/c1.dat"), SampleBook()).ok());
    window.questions.unsaved = [this](const QString& text) {
      asked << text;
      return unsavedAnswer;
    };
    window.questions.line = [this](const QString&, const QString&, const QString&) { return line; };
    window.questions.import = [this](ImportDialog& dialog) { return importAnswer(dialog); };
    window.questions.path = [this](const QString&, const QString&, bool) { return path; };
    window.questions.changedOnDisk = [this](const QString& text) {
      asked << text;
      return changedAnswer;
    };
    window.openBook(0);
  }

  TempDir dir;
  suite::FilePlaces places;
  CourseWindow window;
  QStringList asked;
  QMessageBox::StandardButton unsavedAnswer = QMessageBox::Cancel;
  coursedesk::ChangedOnDisk changedAnswer = coursedesk::ChangedOnDisk::Cancel;
  QString line;
  QString path;
  std::function<bool(ImportDialog&)> importAnswer = [](ImportDialog&) { return true; };
};

TEST(CourseWindow, OpensTheBookByTheFolderRuleAndShowsItsFirstLesson) {
  Desk desk;
  EXPECT_EQ(desk.window.windowTitle(), QStringLiteral("课程编辑 — 大学英语精读第一册[*]"));
  EXPECT_EQ(Items(desk.window.lessonList), (QStringList{"Unit 1", "Unit 2"}));
  EXPECT_EQ(Column(desk.window.entryTable, 0), (QStringList{"market", "stall"}));
  EXPECT_EQ(Column(desk.window.entryTable, 1), (QStringList{"市场", "货摊"}));
  EXPECT_EQ(Items(desk.window.previewList), (QStringList{"market", "市场", "stall", "货摊"}));
  desk.window.lessonList->setCurrentRow(1);
  EXPECT_EQ(Column(desk.window.entryTable, 0), (QStringList{"river"}));
}

TEST(CourseWindow, SaysWhenAFileEndsInsideARecord) {
  Desk desk;
  std::string image;
  ASSERT_TRUE(course::SerializeCourseTable(SampleBook(), image));
  testsupport::WriteBytes(desk.dir.file("cut.dat"), image.substr(0, 30));
  desk.window.openFile(QString::fromStdString(desk.dir.file("cut.dat")));
  EXPECT_TRUE(desk.window.statusLine->text().contains(QStringLiteral("第 1 条记录中间")))
      << desk.window.statusLine->text().toStdString();
  desk.window.openFile(QString::fromStdString(desk.dir.file("app/c1.dat")));
  EXPECT_TRUE(desk.window.statusLine->text().startsWith(QStringLiteral("已打开")));
}

TEST(CourseWindow, EditsCellsWithUndoAndRedoAndRefusesWhatGbkLacks) {
  Desk desk;
  auto* table = desk.window.entryTable;
  table->item(1, 0)->setText(QStringLiteral("booth"));
  EXPECT_EQ(desk.window.book().text(1, 3), u"booth");
  EXPECT_TRUE(desk.window.isWindowModified());
  table->item(0, 2)->setText(QStringLiteral("n."));
  EXPECT_EQ(desk.window.book().text(0, 5), u"n.");

  table->item(0, 1)->setText(QStringLiteral("市场ก"));
  EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("市场")) << "the refused text is taken back";
  EXPECT_EQ(desk.window.book().text(0, 4), u"市场");
  EXPECT_TRUE(desk.window.statusLine->text().contains(QStringLiteral("“ก”")))
      << desk.window.statusLine->text().toStdString();

  desk.window.undoAction->trigger();
  EXPECT_TRUE(desk.window.statusLine->text().isEmpty()) << "what it said is no longer so";
  desk.window.undoAction->trigger();
  EXPECT_EQ(desk.window.book().table(), SampleBook());
  EXPECT_EQ(Column(table, 0), (QStringList{"market", "stall"}));
  EXPECT_FALSE(desk.window.isWindowModified());
  desk.window.redoAction->trigger();
  EXPECT_EQ(Column(table, 0), (QStringList{"market", "booth"}));
}

TEST(CourseWindow, EveryEntryAndLessonEditUndoesBackToTheBook) {
  Desk desk;
  auto& w = desk.window;
  desk.line = QStringLiteral("Unit 3");
  w.entryTable->setCurrentCell(0, 0);
  w.entryDownAction->trigger();
  EXPECT_EQ(Column(w.entryTable, 0), (QStringList{"stall", "market"}));
  EXPECT_EQ(w.entryTable->currentRow(), 1) << "the moved entry stays chosen";
  w.addEntryAction->trigger();
  EXPECT_EQ(w.entryTable->rowCount(), 3);
  w.removeEntryAction->trigger();
  w.addLessonAction->trigger();
  EXPECT_EQ(Items(w.lessonList), (QStringList{"Unit 1", "Unit 2", "Unit 3"}));
  EXPECT_EQ(w.currentLesson(), 2);
  w.lessonUpAction->trigger();
  EXPECT_EQ(Items(w.lessonList), (QStringList{"Unit 1", "Unit 3", "Unit 2"}));
  EXPECT_EQ(w.currentLesson(), 1);
  desk.line = QStringLiteral("第三课");
  w.renameLessonAction->trigger();
  EXPECT_EQ(Items(w.lessonList), (QStringList{"Unit 1", "第三课", "Unit 2"}));
  desk.line = QStringLiteral("Unit 1");
  w.renameLessonAction->trigger();
  EXPECT_TRUE(w.statusLine->text().contains(QStringLiteral("已经有一课"))) << "no merged lessons";
  w.lessonList->setCurrentRow(0);
  w.removeLessonAction->trigger();
  EXPECT_EQ(Items(w.lessonList), (QStringList{"第三课", "Unit 2"}));

  while (w.undoStack->canUndo()) w.undoAction->trigger();
  EXPECT_EQ(w.book().table(), SampleBook());
  EXPECT_EQ(Items(w.lessonList), (QStringList{"Unit 1", "Unit 2"}));
  while (w.undoStack->canRedo()) w.redoAction->trigger();
  EXPECT_EQ(Items(w.lessonList), (QStringList{"第三课", "Unit 2"}));
}

TEST(CourseWindow, ImportShowsAPreviewWithGuessedColumnsAndAddsALesson) {
  Desk desk;
  QStringList seen;
  desk.importAnswer = [&seen](ImportDialog& dialog) {
    EXPECT_EQ(dialog.entryPreview->item(0, 3)->text(), QStringLiteral("苹果, 红的"));
    seen << dialog.preview->item(0, 0)->text() << dialog.preview->item(0, 1)->text()
         << dialog.englishColumn->currentText() << dialog.chineseColumn->currentText()
         << dialog.partOfSpeechColumn->currentText() << dialog.verdict->text();
    dialog.lessonName->setText(QStringLiteral("第五周"));
    return true;
  };
  desk.window.importBytes(QByteArray::fromStdString(
                              testsupport::ToGbk("\"苹果, 红的\",\"apple\",n.\r\n梨,pear,n.\r\n")),
                          QStringLiteral("week5.csv"), QStringLiteral("week5"));
  EXPECT_EQ(seen, (QStringList{"苹果, 红的", "apple", "第 2 列", "第 1 列", "第 3 列",
                               "将导入 2 条词条。"}));
  EXPECT_EQ(Items(desk.window.lessonList), (QStringList{"Unit 1", "Unit 2", "第五周"}));
  EXPECT_EQ(desk.window.currentLesson(), 2);
  EXPECT_EQ(Column(desk.window.entryTable, 0), (QStringList{"apple", "pear"}));
  EXPECT_EQ(Column(desk.window.entryTable, 1), (QStringList{"苹果, 红的", "梨"}));
  EXPECT_EQ(Column(desk.window.entryTable, 2), (QStringList{"n.", "n."}));
  desk.window.undoAction->trigger();
  EXPECT_EQ(desk.window.book().table(), SampleBook());
}

TEST(CourseWindow, ImportRefusesWhatCannotBeImportedAndAddsNothing) {
  struct Case {
    const char* what;
    std::string bytes;
    QString name;
    QString verdict;
  };
  const Case cases[] = {
      {"broken quoting", "a,b\n\"c,d\n", QStringLiteral("新"), QStringLiteral("第 2 行")},
      {"a name taken", "apple,苹果\n", QStringLiteral("Unit 2"), QStringLiteral("已经有一课")},
      {"no name", "apple,苹果\n", QString(), QStringLiteral("课名是空的")},
      {"an .xls workbook", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10),
       QStringLiteral("新"), QStringLiteral("请在 Excel 或 WPS 中另存为 CSV")},
  };
  for (const auto& c : cases) {
    Desk desk;
    bool okEnabled = true;
    QString verdict;
    desk.importAnswer = [&](ImportDialog& dialog) {
      dialog.lessonName->setText(c.name);
      okEnabled = dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled();
      verdict = dialog.verdict->text();
      return false;
    };
    desk.window.importBytes(QByteArray::fromStdString(c.bytes), QStringLiteral("x.csv"),
                            QStringLiteral("x"));
    EXPECT_FALSE(okEnabled) << c.what;
    EXPECT_TRUE(verdict.contains(c.verdict)) << c.what << ": " << verdict.toStdString();
    EXPECT_EQ(desk.window.book().table(), SampleBook()) << c.what;
  }
}

TEST(CourseWindow, ImportsPastedTextIntoTheChosenLesson) {
  Desk desk;
  desk.window.questions.clipboard = [] { return QStringLiteral("give up 放弃\nrun v. 跑\n"); };
  desk.importAnswer = [](ImportDialog& dialog) {
    dialog.intoChosenLesson->setChecked(true);
    return true;
  };
  desk.window.importClipboardAction->trigger();
  EXPECT_EQ(Items(desk.window.lessonList), (QStringList{"Unit 1", "Unit 2"}));
  EXPECT_EQ(Column(desk.window.entryTable, 0), (QStringList{"market", "stall", "give up", "run"}));
  EXPECT_EQ(Column(desk.window.entryTable, 2), (QStringList{"", "", "", "v."}));
}

// What `coursetool dump` shows of the book saved by the window.
std::string SavedAndDumped(Desk& desk) {
  const std::string path = desk.dir.file("saved.dat");
  EXPECT_TRUE(desk.window.saveAs(QString::fromStdString(path)));
  std::ostringstream out, err;
  EXPECT_EQ(coursetool::Dump(path, out, err), 0) << err.str();
  return out.str();
}

TEST(CourseWindow, ImportTakesATypedListApartAndTheTeacherCanChangeTheSplit) {
  Desk desk;
  desk.window.questions.clipboard = [] {
    return QStringLiteral(
        "单词 释义\n1. abandon [əˈbændən] vt.放弃；抛弃\n2、absorb\tv. 吸收（液体）\n"
        "Where there is a will, there is a way. 有志者事竟成。\n");
  };
  QStringList seen;
  desk.importAnswer = [&seen](ImportDialog& dialog) {
    const auto row = [&dialog](int r) {
      QStringList cells;
      for (int c = 0; c < dialog.preview->columnCount(); ++c) {
        cells << (dialog.preview->item(r, c) ? dialog.preview->item(r, c)->text() : QString());
      }
      return cells.join(QLatin1Char('|'));
    };
    EXPECT_TRUE(dialog.headerRow->isChecked());
    EXPECT_EQ(dialog.entryPreview->item(2, 0)->text(),
              QStringLiteral("Where there is a will, there is a way."));
    EXPECT_EQ(dialog.entryPreview->item(0, 1)->text(), QStringLiteral("əˈbændən"));
    EXPECT_TRUE(dialog.separation->isEnabled());
    seen << row(0) << row(1) << dialog.phoneticColumn->currentText() << dialog.verdict->text();
    dialog.headerRow->setChecked(false);  // a line without English is still no entry
    seen << row(0) << dialog.verdict->text();
    dialog.separation->setCurrentIndex(dialog.separation->findText(QStringLiteral("制表符")));
    seen << row(1) << QString::number(dialog.headerRow->isChecked());
    dialog.separation->setCurrentIndex(0);
    seen << dialog.verdict->text();
    dialog.lessonName->setText(QStringLiteral("第六周"));
    return true;
  };
  desk.window.importClipboardAction->trigger();
  EXPECT_EQ(seen,
            (QStringList{"abandon|əˈbændən|vt.|放弃；抛弃", "absorb||v.|吸收（液体）",
                         "第 2 列：音标", "将导入 3 条词条。", "|||单词 释义", "将导入 3 条词条。",
                         "1. abandon [əˈbændən] vt.放弃；抛弃|", "0", "将导入 3 条词条。"}));
  EXPECT_EQ(SavedAndDumped(desk),
            "0\t第一册\tUnit 1\tmarket\t市场\t\t\t01000000\tdeadbeef\t1234\n"
            "1\t第一册\tUnit 1\tstall\t货摊\t\t\t02000000\tdeadbeef\t1234\n"
            "2\t第一册\tUnit 2\triver\t河\t\t\t03000000\tdeadbeef\t1234\n"
            "3\t第一册\t第六周\tabandon\t放弃；抛弃\tvt.\t\t03000000\tdeadbeef\t1234\n"
            "4\t第一册\t第六周\tabsorb\t吸收（液体）\tv.\t\t03000000\tdeadbeef\t1234\n"
            "5\t第一册\t第六周\tWhere there is a will, there is a way.\t有志者事竟成。\t\t\t"
            "03000000\tdeadbeef\t1234\n");
}

TEST(CourseWindow, ImportsTheFirstSheetOfAWorkbook) {
  Desk desk;
  bool splits = true;
  desk.importAnswer = [&splits](ImportDialog& dialog) {
    splits = dialog.separation->isEnabled();
    return true;
  };
  desk.window.importBytes(
      QByteArray::fromStdString(testsupport::Workbook(
          {{"xl/worksheets/sheet1.xml",
            testsupport::SheetXml(
                "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>英文</t></is></c>"
                "<c r=\"B1\" t=\"inlineStr\"><is><t>中文</t></is></c></row>"
                "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>apple</t></is>"
                "</c><c r=\"B2\" t=\"inlineStr\"><is><t>苹果。</t></is></c></row>")}})),
      QStringLiteral("week7.xlsx"), QStringLiteral("week7"));
  EXPECT_FALSE(splits) << "a workbook's cells are its split";
  EXPECT_EQ(Items(desk.window.lessonList), (QStringList{"Unit 1", "Unit 2", "week7"}));
  EXPECT_EQ(Column(desk.window.entryTable, 1), (QStringList{"苹果。"}));
}

TEST(CourseWindow, ImportSaysAtOnceWhatPassesTheBooksLimits) {
  course::RecordTable lessons;
  for (std::uint32_t i = 0; i < course::kLessonSlots; ++i) {
    lessons[i] = Entry(QStringLiteral("L%1").arg(i).toStdU16String(), u"go", u"去", i);
  }
  QString list;
  for (int i = 0; i < 2983; ++i) list += QStringLiteral("w%1 词\n").arg(i);
  struct Case {
    const char* what;
    course::RecordTable book;
    QString list;
    bool intoChosen;
    QString verdict;
  };
  const Case cases[] = {
      {"entries past the course file's records", SampleBook(), list, false,
       QStringLiteral("导入后这一册共 2986 条，超过课程文件最多能存的 2985 条")},
      {"a lesson past the chooser's last", lessons, QStringLiteral("go 去\n"), false,
       QStringLiteral("导入后共 130 课，选课程序只列出前 129 课")},
      {"into a lesson it has, no new lesson", lessons, QStringLiteral("go 去\n"), true,
       QStringLiteral("将导入 1 条词条。")},
  };
  for (const auto& c : cases) {
    Desk desk;
    ASSERT_TRUE(course::WriteCourseFile(desk.dir.file("book.dat"), c.book).ok());
    desk.window.openFile(QString::fromStdString(desk.dir.file("book.dat")));
    ASSERT_EQ(desk.window.book().table(), c.book) << c.what;
    desk.window.questions.clipboard = [&c] { return c.list; };
    QString verdict;
    bool okEnabled = false;
    desk.importAnswer = [&](ImportDialog& dialog) {
      dialog.lessonName->setText(QStringLiteral("新的一课"));
      dialog.intoChosenLesson->setChecked(c.intoChosen);
      verdict = dialog.verdict->text();
      okEnabled = dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled();
      return false;
    };
    desk.window.importClipboardAction->trigger();
    EXPECT_TRUE(verdict.contains(c.verdict)) << c.what << ": " << verdict.toStdString();
    EXPECT_EQ(okEnabled, c.intoChosen) << c.what;
  }
}

TEST(CourseWindow, SavesWhereThisUserReadsAndSaysWhere) {
  struct Case {
    const char* what;
    bool appWritable;
    const char* savedTo;
  };
  for (const auto& c : {Case{"a portable folder", true, "app/c1.dat"},
                        Case{"a system-wide install", false, "user/c1.dat"}}) {
    Desk desk(c.appWritable);
    desk.window.entryTable->item(0, 0)->setText(QStringLiteral("fair"));
    desk.window.show();
    ASSERT_TRUE(testsupport::Activate(&desk.window));
    QTest::keyClick(&desk.window, Qt::Key_S, Qt::ControlModifier);
    const std::string saved = desk.dir.file(c.savedTo);
    EXPECT_TRUE(desk.window.statusLine->text().contains(QString::fromStdString(saved)))
        << c.what << ": " << desk.window.statusLine->text().toStdString();
    EXPECT_FALSE(desk.window.isWindowModified()) << c.what;
    course::RecordTable read;
    ASSERT_TRUE(course::ReadCourseFile(saved, read).status.ok()) << c.what;
    EXPECT_EQ(course::UnscrambleText(read[0].text(3)), u"fair") << c.what;
    EXPECT_EQ(read[0].number1, SampleBook()[0].number1) << c.what << ": the numbers kept";
    course::RecordTable app;
    course::ReadCourseFile(desk.dir.file("app/c1.dat"), app);
    EXPECT_EQ(app == SampleBook(), !c.appWritable) << c.what;
  }
}

// English lines of the first lesson in the book this user's programs read.
QStringList FirstLessonOnDisk(const Desk& desk) {
  course::RecordTable read;
  EXPECT_TRUE(course::ReadCourseFile(desk.places.readPath("c1.dat"), read).status.ok());
  return {QString::fromStdU16String(course::UnscrambleText(read[0].text(3))),
          QString::fromStdU16String(course::UnscrambleText(read[1].text(3)))};
}

TEST(CourseWindow, TwoWindowsOnOneBookNeverSaveOverEachOther) {
  using coursedesk::ChangedOnDisk;
  struct Case {
    const char* what;
    ChangedOnDisk answer;
    QStringList secondShows;  // the second window's first lesson afterwards
    bool secondModified;
    const char* statusStart;
  };
  const Case cases[] = {
      {"cancelled", ChangedOnDisk::Cancel, {"market", "booth"}, true, "没有保存"},
      {"reloaded", ChangedOnDisk::Reload, {"fair", "stall"}, false, "已打开"},
      {"saved as another file", ChangedOnDisk::SaveAs, {"market", "booth"}, false, "已另存到"},
  };
  for (const bool appWritable : {true, false}) {
    for (const auto& c : cases) {
      const std::string what = std::string(c.what) + (appWritable ? "" : ", system-wide");
      Desk first(appWritable);
      Desk second(appWritable);  // its own folder, made to open the first one's book
      second.window.close();
      CourseWindow window(first.places);
      window.questions = second.window.questions;
      window.openBook(0);
      second.changedAnswer = c.answer;
      second.path = QString::fromStdString(first.dir.file("mine.dat"));

      first.window.entryTable->item(0, 0)->setText(QStringLiteral("fair"));
      first.window.saveAction->trigger();
      window.entryTable->item(1, 0)->setText(QStringLiteral("booth"));
      window.saveAction->trigger();

      ASSERT_EQ(second.asked.size(), 1) << what;
      EXPECT_TRUE(second.asked[0].contains(QString::fromStdString(first.places.readPath("c1.dat"))))
          << what << ": " << second.asked[0].toStdString();
      EXPECT_EQ(FirstLessonOnDisk(first), (QStringList{"fair", "stall"}))
          << what << ": the first window's save is kept";
      EXPECT_EQ(Column(window.entryTable, 0), c.secondShows) << what;
      EXPECT_EQ(window.isWindowModified(), c.secondModified) << what;
      EXPECT_TRUE(window.statusLine->text().startsWith(QString::fromUtf8(c.statusStart)))
          << what << ": " << window.statusLine->text().toStdString();
      EXPECT_FALSE(window.statusLine->text().startsWith(QStringLiteral("已保存"))) << what;
      EXPECT_FALSE(first.window.isWindowModified()) << what;
    }
  }
}

TEST(CourseWindow, AfterSavingAsAnotherFileTheWindowGoesOnWithIt) {
  Desk first;
  Desk second;
  second.window.close();
  CourseWindow window(first.places);
  window.questions = second.window.questions;
  window.openBook(0);
  second.changedAnswer = coursedesk::ChangedOnDisk::SaveAs;
  const std::string mine = first.dir.file("mine.dat");
  second.path = QString::fromStdString(mine);

  first.window.entryTable->item(0, 0)->setText(QStringLiteral("fair"));
  first.window.saveAction->trigger();
  window.entryTable->item(1, 0)->setText(QStringLiteral("booth"));
  window.saveAction->trigger();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("课程编辑 — mine.dat[*]"));

  window.entryTable->item(0, 0)->setText(QStringLiteral("bazaar"));
  window.saveAction->trigger();
  EXPECT_EQ(second.asked.size(), 1) << "its own file, saved by itself: no question";
  EXPECT_TRUE(window.statusLine->text().startsWith(QStringLiteral("已保存到")))
      << window.statusLine->text().toStdString();
  course::RecordTable read;
  ASSERT_TRUE(course::ReadCourseFile(mine, read).status.ok());
  EXPECT_EQ(course::UnscrambleText(read[0].text(3)), u"bazaar");
  EXPECT_EQ(course::UnscrambleText(read[1].text(3)), u"booth");
  EXPECT_EQ(FirstLessonOnDisk(first), (QStringList{"fair", "stall"}));

  first.window.entryTable->item(1, 0)->setText(QStringLiteral("kiosk"));
  first.window.saveAction->trigger();
  EXPECT_TRUE(first.window.statusLine->text().startsWith(QStringLiteral("已保存到")))
      << "the first window saved last itself: no question either";
  EXPECT_EQ(FirstLessonOnDisk(first), (QStringList{"fair", "kiosk"}));
}

TEST(CourseWindow, SaveAsWritesAnyPathAndAFailedSaveSaysWhy) {
  Desk desk;
  desk.window.entryTable->item(0, 0)->setText(QStringLiteral("fair"));
  desk.path = QString::fromStdString(desk.dir.file("handout.dat"));
  desk.window.saveAsAction->trigger();
  EXPECT_TRUE(std::filesystem::exists(desk.dir.file("handout.dat")));
  EXPECT_TRUE(desk.window.isWindowModified()) << "the book itself is not saved by 另存为";
  desk.path = QString::fromStdString(desk.dir.file("app/c1.dat"));
  desk.window.saveAsAction->trigger();
  EXPECT_FALSE(desk.window.isWindowModified()) << "另存为 over the book's own file saves it";
  desk.window.entryTable->item(1, 0)->setText(QStringLiteral("booth"));
  desk.window.saveAction->trigger();
  EXPECT_TRUE(desk.asked.isEmpty()) << "its own save is no one else's change";
  EXPECT_TRUE(desk.window.statusLine->text().startsWith(QStringLiteral("已保存到")));
  EXPECT_FALSE(desk.window.saveAs(QString::fromStdString(desk.dir.file("none/x.dat"))));
  EXPECT_TRUE(desk.window.statusLine->text().startsWith(QStringLiteral("无法保存到")))
      << desk.window.statusLine->text().toStdString();
}

TEST(CourseWindow, ExportsTheLessonOrTheBookAsCsv) {
  Desk desk;
  desk.window.lessonList->setCurrentRow(1);
  desk.path = QString::fromStdString(desk.dir.file("lesson.csv"));
  desk.window.exportLessonAction->trigger();
  EXPECT_EQ(testsupport::ReadBytes(desk.dir.file("lesson.csv")),
            "\xEF\xBB\xBF课,英文,中文,词性,栏目\r\nUnit 2,river,河,,\r\n");
  desk.path = QString::fromStdString(desk.dir.file("book.csv"));
  desk.window.exportBookAction->trigger();
  EXPECT_EQ(testsupport::ReadBytes(desk.dir.file("book.csv")),
            "\xEF\xBB\xBF课,英文,中文,词性,栏目\r\nUnit 1,market,市场,,\r\n"
            "Unit 1,stall,货摊,,\r\nUnit 2,river,河,,\r\n");
  desk.path = QString::fromStdString(desk.dir.file("none/book.csv"));
  desk.window.exportBookAction->trigger();
  EXPECT_TRUE(desk.window.statusLine->text().startsWith(QStringLiteral("无法导出到")));
}

TEST(CourseWindow, ClosingWithUnsavedChangesAsks) {
  Desk desk;
  desk.window.show();
  EXPECT_TRUE(desk.window.close()) << "nothing changed: no question";
  EXPECT_TRUE(desk.asked.isEmpty());
  desk.window.show();
  desk.window.entryTable->item(0, 0)->setText(QStringLiteral("fair"));
  EXPECT_FALSE(desk.window.close());
  EXPECT_EQ(desk.asked.size(), 1);
  desk.unsavedAnswer = QMessageBox::Save;
  EXPECT_TRUE(desk.window.close());
  course::RecordTable read;
  course::ReadCourseFile(desk.dir.file("app/c1.dat"), read);
  EXPECT_EQ(course::UnscrambleText(read[0].text(3)), u"fair");
}

TEST(CourseWindow, FindingsListEachFaultAndJumpToIt) {
  Desk desk;
  desk.window.lessonList->setCurrentRow(1);
  desk.window.entryTable->item(0, 0)->setText(QStringLiteral("river "));
  const auto* findings = desk.window.findingList;
  ASSERT_EQ(findings->count(), 1);
  EXPECT_TRUE(findings->item(0)->text().contains(QStringLiteral("空格")));
  desk.window.findingList->setCurrentRow(0);
  EXPECT_EQ(desk.window.findingDetail->text(), findings->item(0)->text()) << "shown in full";
  desk.window.lessonList->setCurrentRow(0);
  emit desk.window.findingList->itemActivated(findings->item(0));
  EXPECT_EQ(desk.window.currentLesson(), 1);
  EXPECT_EQ(desk.window.entryTable->currentRow(), 0);
}

TEST(CourseWindow, FindingsWrapToTheListsWidthInsteadOfBeingCut) {
  Desk desk;
  desk.window.resize(800, 600);
  desk.window.show();
  for (int row = 0; row < 2; ++row) {
    desk.window.entryTable->item(row, 0)->setText(QStringLiteral("café"));
  }
  auto* findings = desk.window.findingList;
  ASSERT_EQ(findings->count(), 2);
  QApplication::processEvents();
  const QRect first = findings->visualItemRect(findings->item(0));
  const QRect second = findings->visualItemRect(findings->item(1));
  EXPECT_LE(first.right(), findings->viewport()->width()) << "no line runs out of the list";
  EXPECT_GE(first.height(), 2 * findings->fontMetrics().height()) << "the long finding wraps";
  EXPECT_GE(second.top(), first.bottom()) << "findings do not overlap";
}

TEST(CourseWindow, IsUsableByKeyboardAndNamedInChinese) {
  Desk desk;
  for (QAction* menu : desk.window.menuBar()->actions()) {
    EXPECT_TRUE(menu->text().contains(QLatin1Char('&'))) << menu->text().toStdString();
    for (QAction* action : menu->menu()->actions()) {
      if (action->isSeparator()) continue;
      EXPECT_TRUE(!action->shortcut().isEmpty() || action->text().contains(QLatin1Char('&')))
          << action->text().toStdString();
    }
  }
  const QRegularExpression han(QStringLiteral("\\p{Han}"));
  for (QWidget* control : desk.window.findChildren<QWidget*>()) {
    if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QMenu*>(control) ||
        control->inherits("QScrollBar") || !control->isVisibleTo(&desk.window)) {
      continue;
    }
    EXPECT_TRUE(control->accessibleName().contains(han))
        << control->metaObject()->className() << " " << control->objectName().toStdString();
  }
}

TEST(CourseWindow, KeysReachTheFindingsAndThePreviewAndTabVisitsThemInOrder) {
  Desk desk;
  auto& w = desk.window;
  w.show();
  ASSERT_TRUE(testsupport::Activate(&w));
  QTest::keyClick(&w, Qt::Key_F6);
  EXPECT_EQ(QApplication::focusWidget(), w.previewList);
  QTest::keyClick(&w, Qt::Key_F7);
  EXPECT_EQ(QApplication::focusWidget(), w.findingList);

  w.lessonList->setFocus();
  QStringList visited;
  for (int step = 0; step < 3; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->accessibleName();
  }
  EXPECT_EQ(visited, (QStringList{"这一课的词条", "检查结果", "检查与预览的页"}))
      << visited.join(QStringLiteral(" | ")).toStdString();
}

// A desk whose book folder holds the phonetics `table`, read when the book opens.
void GivePhonetics(Desk& desk, const std::string& folder, const std::string& table) {
  std::filesystem::create_directories(desk.dir.file(folder));
  testsupport::WriteBytes(desk.dir.file(folder + "/phonetics.txt"), table);
  desk.window.openBook(0);
}

TEST(CourseWindow, PhoneticsAreShownAndEditedInTheirOwnColumnWithUndo) {
  Desk desk;
  GivePhonetics(desk, "app", "Market\tˈmɑrkɪt\nabsorb\təbˈsɔrb\n");
  auto* table = desk.window.entryTable;
  EXPECT_EQ(table->horizontalHeaderItem(4)->text(), QStringLiteral("音标"));
  EXPECT_EQ(Column(table, 4), (QStringList{"ˈmɑrkɪt", ""})) << "found whatever the case";
  table->item(1, 4)->setText(QStringLiteral("stɔl"));
  EXPECT_EQ(desk.window.phonetics().find("stall"), "stɔl");
  EXPECT_TRUE(desk.window.isWindowModified());
  desk.window.undoAction->trigger();
  EXPECT_EQ(Column(table, 4), (QStringList{"ˈmɑrkɪt", ""}));
  EXPECT_EQ(desk.window.phonetics().find("stall"), std::nullopt);
  desk.window.redoAction->trigger();
  EXPECT_EQ(Column(table, 4), (QStringList{"ˈmɑrkɪt", "stɔl"}));
  table->item(0, 4)->setText(QString());  // an emptied cell removes the word's phonetics

  ASSERT_TRUE(desk.window.save()) << desk.window.statusLine->text().toStdString();
  EXPECT_EQ(testsupport::ReadBytes(desk.dir.file("app/phonetics.txt")),
            "absorb\təbˈsɔrb\nstall\tstɔl\n")
      << "saved with the book, the other words of the folder kept";
  EXPECT_FALSE(desk.window.isWindowModified());
}

TEST(CourseWindow, AnEntryWithoutEnglishGetsNoPhonetics) {
  Desk desk;
  desk.window.addEntryAction->trigger();
  auto* table = desk.window.entryTable;
  const int row = table->currentRow();
  table->item(row, 4)->setText(QStringLiteral("ə"));
  EXPECT_EQ(table->item(row, 4)->text(), QString()) << "the refused text is taken back";
  EXPECT_TRUE(desk.window.statusLine->text().contains(QStringLiteral("请先填写英文")));
  EXPECT_TRUE(desk.window.phonetics().empty());
}

TEST(CourseWindow, OnASystemWideInstallThePhoneticsGoToTheUsersOwnTable) {
  Desk desk(false);
  const std::string shared = "market\tˈmɑrkɪt\n";
  GivePhonetics(desk, "app", shared);
  desk.window.entryTable->item(1, 4)->setText(QStringLiteral("stɔl"));
  ASSERT_TRUE(desk.window.save()) << desk.window.statusLine->text().toStdString();
  EXPECT_EQ(testsupport::ReadBytes(desk.dir.file("user/phonetics.txt")), "stall\tstɔl\n");
  EXPECT_EQ(testsupport::ReadBytes(desk.dir.file("app/phonetics.txt")), shared);
  CourseWindow again(desk.places);
  again.openBook(0);
  EXPECT_EQ(Column(again.entryTable, 4), (QStringList{"ˈmɑrkɪt", "stɔl"}));
}

TEST(CourseWindow, ATableWithABadLineIsLeftAsItIsAndTheSaveSaysSo) {
  Desk desk;
  const std::string typed = "market ˈmɑrkɪt\n";
  GivePhonetics(desk, "app", typed);
  desk.window.entryTable->item(1, 4)->setText(QStringLiteral("stɔl"));
  EXPECT_FALSE(desk.window.save());
  const QString said = desk.window.statusLine->text();
  EXPECT_TRUE(said.contains(QStringLiteral("音标没有保存到")) &&
              said.contains(QStringLiteral("第 1 行")))
      << said.toStdString();
  EXPECT_EQ(testsupport::ReadBytes(desk.dir.file("app/phonetics.txt")), typed);
  EXPECT_TRUE(desk.window.isWindowModified()) << "no success is claimed";
}

TEST(CourseWindow, SaveAsTakesThePhoneticsToTheNewFolder) {
  Desk desk;
  GivePhonetics(desk, "app", "market\tˈmɑrkɪt\n");
  std::filesystem::create_directory(desk.dir.file("class"));
  ASSERT_TRUE(desk.window.saveAs(QString::fromStdString(desk.dir.file("class/c1.dat"))));
  EXPECT_EQ(testsupport::ReadBytes(desk.dir.file("class/phonetics.txt")), "market\tˈmɑrkɪt\n");
}

// An import's entries and the phonetics they carry go in, and come out, as one step.
TEST(BookEditCommand, AnImportsPhoneticsAreUndoneWithItsEntries) {
  editor::Book book(SampleBook());
  const editor::Book original = book;
  course::PhoneticsTable phonetics;
  phonetics.put("market", "ˈmɑrkɪt");
  const course::PhoneticsTable before = phonetics;
  const std::vector<editor::ImportedEntry> entries = {{u"abandon", u"放弃", u"vt.", 1, u"əˈbændən"},
                                                      {u"market", u"市场", u"", 2, u"ˈmɑrkət"}};
  std::size_t shown = 0;
  coursedesk::BookEditCommand command(
      book, editor::InsertEntries(book, 3, u"Unit 3", entries), QStringLiteral("导入词条"), 3, 2,
      [&shown](std::size_t record) { shown = record; }, &phonetics,
      editor::ImportedPhonetics(phonetics, entries));
  command.redo();
  EXPECT_EQ(book.size(), 5u);
  EXPECT_EQ(phonetics.find("abandon"), "əˈbændən");
  EXPECT_EQ(phonetics.find("market"), "ˈmɑrkət");
  command.undo();
  EXPECT_EQ(book.records(), original.records());
  EXPECT_EQ(phonetics, before);
  EXPECT_EQ(shown, 2u);
}

}  // namespace
