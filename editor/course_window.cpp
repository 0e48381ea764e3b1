// SPDX-License-Identifier: MIT
#include "course_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

#include "book_edit_command.h"
#include "course_menus.h"
#include "csv_export.h"
#include "lesson_name.h"

namespace coursedesk {
namespace {

QString Text(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

QString WindowTitle(const QString& book) {
  return QStringLiteral("课程编辑 — %1[*]").arg(book);
}

// A list or table under its label, whose access key reaches it.
QWidget* Labelled(const QString& label, QWidget* widget, QWidget* parent) {
  auto* pane = new QWidget(parent);
  auto* layout = new QVBoxLayout(pane);
  auto* buddy = new QLabel(label, pane);
  buddy->setBuddy(widget);
  layout->addWidget(buddy);
  layout->addWidget(widget);
  return pane;
}

}  // namespace

CourseWindow::CourseWindow(suite::FilePlaces places)
    : questions(StandardQuestions(this)),
      statusLine(new StatusLine(this)),
      undoStack(new QUndoStack(this)),
      session_(std::move(places)),
      files_(session_, questions, *undoStack, *statusLine),
      imports_(questions, session_, *statusLine, this) {
  lessonList = new QListWidget(this);
  lessonList->setAccessibleName(QStringLiteral("这一册的课"));
  // Long lesson names wrap rather than being cut on a small screen.
  lessonList->setWordWrap(true);
  lessonList->setResizeMode(QListView::Adjust);
  lessonList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  entryTable = new EntryTable(this);
  checkAndPreview = new CheckAndPreview(this);
  findingList = checkAndPreview->findingList;
  findingDetail = checkAndPreview->findingDetail;
  previewList = checkAndPreview->previewList;
  // Tab goes from the entries to the findings and the preview, then to the page names.
  setTabOrder(entryTable, findingList);
  setTabOrder(findingList, previewList);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(Labelled(QStringLiteral("课(&K)："), lessonList, this));
  splitter->addWidget(Labelled(QStringLiteral("词条(&W)："), entryTable, this));
  splitter->addWidget(checkAndPreview);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 5);
  splitter->setStretchFactor(2, 3);
  auto* central = new QWidget(this);
  auto* centralLayout = new QVBoxLayout(central);
  centralLayout->addWidget(splitter, 1);
  centralLayout->addWidget(statusLine);
  setCentralWidget(central);
  AddCourseMenus(*this);

  connect(lessonList, &QListWidget::currentRowChanged, this, &CourseWindow::showLesson);
  connect(entryTable, &EntryTable::edited, this, &CourseWindow::cellEdited);
  connect(checkAndPreview, &CheckAndPreview::jumpTo, this, &CourseWindow::jumpTo);
  connect(undoStack, &QUndoStack::cleanChanged, this,
          [this](bool clean) { setWindowModified(!clean); });
  connect(&files_, &BookFiles::retitled, this,
          [this] { setWindowTitle(WindowTitle(files_.title())); });
  connect(&files_, &BookFiles::opened, this, [this] {
    setWindowTitle(WindowTitle(files_.title()));
    setWindowModified(false);
    showRecord(0);
  });
  setWindowTitle(QStringLiteral("课程编辑 — （没有打开课本）[*]"));
  resize(1000, 640);
}

void CourseWindow::push(std::optional<editor::Edit> edit, const QString& text) {
  if (!edit) return;
  undoStack->push(new BookEditCommand(
      session_.book(), std::move(edit->splice), text, edit->focusAfter, edit->focusBefore,
      [this](std::size_t record) { showRecord(record); }, &session_.phonetics(),
      std::move(edit->phonetics)));
}

bool CourseWindow::pushOrRefuse(editor::EditOutcome outcome, const QString& text,
                                const QString& refused) {
  if (outcome.problem.empty()) {
    push(std::move(outcome.edit), text);
    return true;
  }
  statusLine->tell(QStringLiteral("%1：%2").arg(refused, Text(outcome.problem)), true);
  return false;
}

void CourseWindow::showRecord(std::size_t record) {
  session_.refreshLessons();
  const QSignalBlocker blocker(lessonList);
  lessonList->clear();
  for (const auto& run : session_.lessons()) lessonList->addItem(Text(editor::LessonLabel(run)));
  const auto place = session_.placeOf(record);
  lessonList->setCurrentRow(place.lesson);
  showLesson(place.lesson);
  if (place.row >= 0) {
    entryTable->setCurrentCell(place.row, std::max(entryTable->currentColumn(), 0));
  }
  checkAndPreview->showFindings(session_.findings());
}

void CourseWindow::showLesson(int row) {
  entryTable->showLesson(session_, lesson());
  for (auto* action : {addEntryAction, removeEntryAction, entryUpAction, entryDownAction,
                       renameLessonAction, removeLessonAction, lessonUpAction, lessonDownAction}) {
    action->setEnabled(row >= 0);
  }
  checkAndPreview->showPreview(book(), lesson());
}

void CourseWindow::jumpTo(std::size_t record, int column) {
  showRecord(record);
  if (column >= 0) entryTable->setCurrentCell(entryTable->currentRow(), column);
  entryTable->setFocus();
}

void CourseWindow::cellEdited(int row, int column, const QString& text) {
  const auto record = session_.recordAt(currentLesson(), row);
  if (!record) return;
  const bool phonetic = column == editor::kPhoneticsColumn;
  if (!pushOrRefuse(session_.setCell(*record, column, text.toStdU16String()),
                    phonetic ? QStringLiteral("修改音标") : QStringLiteral("修改词条"),
                    QStringLiteral("没有改动"))) {
    entryTable->putBack(row, column, Text(session_.cell(*record, column)));
  }
}

void CourseWindow::exportLesson() {
  if (const auto* run = lesson()) {
    files_.exportCsv(editor::ExportCsv(book(), run), Text(editor::LessonLabel(*run)));
  }
}

void CourseWindow::exportBook() {
  files_.exportCsv(editor::ExportCsv(book()), files_.title());
}

void CourseWindow::publishAsked() {
  publishDialog = new PublishDialog(book(), phonetics(), this);
  publishDialog->setAttribute(Qt::WA_DeleteOnClose);
  publishDialog->open();
}

void CourseWindow::addEntry() {
  push(session_.addEntry(currentLesson(), entryTable->currentRow()), QStringLiteral("添加词条"));
  if (!lesson()) return;
  entryTable->setFocus();
  entryTable->setCurrentCell(entryTable->currentRow(), 0);
}

void CourseWindow::removeEntry() {
  push(session_.removeEntry(currentLesson(), entryTable->currentRow()), QStringLiteral("删除词条"));
}

void CourseWindow::moveEntryUp() {
  push(session_.moveEntry(currentLesson(), entryTable->currentRow(), -1),
       QStringLiteral("移动词条"));
}

void CourseWindow::moveEntryDown() {
  push(session_.moveEntry(currentLesson(), entryTable->currentRow(), +1),
       QStringLiteral("移动词条"));
}

void CourseWindow::addLesson() {
  const QString name = questions.line(QStringLiteral("新建课"), QStringLiteral("新课的课名："), {});
  if (name.isEmpty()) return;
  pushOrRefuse(session_.addLesson(name.toStdU16String()), QStringLiteral("新建课"),
               QStringLiteral("没有新建课"));
}

void CourseWindow::renameLesson() {
  const auto* run = lesson();
  if (!run) return;
  const QString name =
      questions.line(QStringLiteral("重命名课"), QStringLiteral("新的课名："), Text(run->name));
  if (name.isEmpty()) return;
  pushOrRefuse(session_.renameLesson(currentLesson(), name.toStdU16String()),
               QStringLiteral("重命名课"), QStringLiteral("没有重命名"));
}

void CourseWindow::removeLesson() {
  push(session_.removeLesson(currentLesson()), QStringLiteral("删除课"));
}

void CourseWindow::moveLessonUp() {
  push(session_.moveLesson(currentLesson(), -1), QStringLiteral("移动课"));
}

void CourseWindow::moveLessonDown() {
  push(session_.moveLesson(currentLesson(), +1), QStringLiteral("移动课"));
}

void CourseWindow::importFileAsked() {
  push(imports_.fromFile(currentLesson()), QStringLiteral("导入词条"));
}

void CourseWindow::importClipboard() {
  push(imports_.fromClipboard(currentLesson()), QStringLiteral("导入词条"));
}

void CourseWindow::importBytes(const QByteArray& bytes, const QString& source,
                               const QString& suggestedName) {
  push(imports_.fromBytes(bytes, source, suggestedName, currentLesson()),
       QStringLiteral("导入词条"));
}

void CourseWindow::importText(const QString& text) {
  push(imports_.fromText(text, currentLesson()), QStringLiteral("导入词条"));
}

void CourseWindow::closeEvent(QCloseEvent* event) {
  if (files_.mayLeaveBook()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace coursedesk
