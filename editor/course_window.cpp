// SPDX-License-Identifier: MIT
#include "course_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app_folder.h"
#include "book_checks.h"
#include "book_edit_command.h"
#include "csv_export.h"
#include "failure_text.h"
#include "file_io.h"
#include "fixed_names.h"
#include "import_dialog.h"
#include "import_file.h"
#include "import_reader.h"
#include "import_text.h"
#include "lesson_preview.h"
#include "utf8.h"

namespace coursedesk {
namespace {

using editor::kEnglishField;

constexpr int kFieldColumns = 4;  // 英文, 中文, 词性, 栏目: text fields 3 to 6
// Then the phonetics of the English line, kept beside the book by English word.
constexpr int kPhoneticsColumn = kFieldColumns;
constexpr int kColumns = kFieldColumns + 1;

QString Text(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

QString LessonLabel(const editor::LessonRun& lesson) {
  return lesson.name.empty() ? QStringLiteral("（没有课名）") : Text(lesson.name);
}

QString WindowTitle(const QString& book) {
  return QStringLiteral("课程编辑 — %1[*]").arg(book);
}

QLabel* Buddy(const QString& text, QWidget* widget, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(widget);
  return label;
}

}  // namespace

CourseWindow::CourseWindow(suite::FilePlaces places)
    : questions(StandardQuestions(this)), session_(std::move(places)) {
  undoStack = new QUndoStack(this);

  lessonList = new QListWidget(this);
  lessonList->setAccessibleName(QStringLiteral("这一册的课"));
  // Long lesson names wrap rather than being cut on a small screen.
  lessonList->setWordWrap(true);
  lessonList->setResizeMode(QListView::Adjust);
  lessonList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  entryTable = new QTableWidget(0, kColumns, this);
  entryTable->setAccessibleName(QStringLiteral("这一课的词条"));
  entryTable->setHorizontalHeaderLabels({QStringLiteral("英文"), QStringLiteral("中文"),
                                         QStringLiteral("词性"), QStringLiteral("栏目"),
                                         QStringLiteral("音标")});
  // English and Chinese share the width, the short marks take what they need, and a text
  // longer than its column wraps: rows are sized to their texts once the lesson is shown or
  // the columns change width.
  entryTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  entryTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  entryTable->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
  entryTable->horizontalHeader()->setSectionResizeMode(4, QHeaderView::ResizeToContents);
  entryTable->setWordWrap(true);
  rowSizer_ = new QTimer(this);  // one sizing for any number of changes in a turn
  rowSizer_->setSingleShot(true);
  rowSizer_->setInterval(0);
  connect(rowSizer_, &QTimer::timeout, entryTable, &QTableView::resizeRowsToContents);
  connect(entryTable->horizontalHeader(), &QHeaderView::sectionResized, rowSizer_,
          qOverload<>(&QTimer::start));
  entryTable->setSelectionMode(QAbstractItemView::SingleSelection);
  entryTable->setTabKeyNavigation(false);  // Tab leaves the table; the arrows move inside
  findingList = new QListWidget(this);
  findingList->setAccessibleName(QStringLiteral("检查结果"));
  // Each finding wrapped to the list's width, whole; laid out in batches so that thousands
  // of findings stay quick to show.
  findingList->setWordWrap(true);
  findingList->setResizeMode(QListView::Adjust);
  findingList->setLayoutMode(QListView::Batched);
  findingList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  previewNote = new QLabel(this);
  previewNote->setWordWrap(true);
  previewList = new QListWidget(this);
  previewList->setAccessibleName(QStringLiteral("选课程序中这一课的样子"));

  auto* lessonsPane = new QWidget(this);
  auto* lessonsLayout = new QVBoxLayout(lessonsPane);
  lessonsLayout->addWidget(Buddy(QStringLiteral("课(&K)："), lessonList, lessonsPane));
  lessonsLayout->addWidget(lessonList);
  auto* entriesPane = new QWidget(this);
  auto* entriesLayout = new QVBoxLayout(entriesPane);
  entriesLayout->addWidget(Buddy(QStringLiteral("词条(&W)："), entryTable, entriesPane));
  entriesLayout->addWidget(entryTable);
  auto* previewPane = new QWidget(this);
  auto* previewLayout = new QVBoxLayout(previewPane);
  previewLayout->addWidget(previewNote);
  previewLayout->addWidget(previewList);
  auto* side = new QTabWidget(this);
  side->setAccessibleName(QStringLiteral("检查与预览"));
  side->tabBar()->setAccessibleName(QStringLiteral("检查与预览的页"));
  findingDetail = new QLabel(this);
  findingDetail->setWordWrap(true);
  auto* checkPane = new QWidget(this);
  auto* checkLayout = new QVBoxLayout(checkPane);
  checkLayout->addWidget(findingList, 1);
  checkLayout->addWidget(findingDetail);
  side->addTab(checkPane, QStringLiteral("检查"));
  side->addTab(previewPane, QStringLiteral("选课预览"));

  auto* splitter = new QSplitter(this);
  splitter->addWidget(lessonsPane);
  splitter->addWidget(entriesPane);
  splitter->addWidget(side);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 5);
  splitter->setStretchFactor(2, 3);
  // The status line is an ordinary label under the panes, so screen readers find it.
  statusLine = new QLabel(this);
  auto* central = new QWidget(this);
  auto* centralLayout = new QVBoxLayout(central);
  centralLayout->addWidget(splitter, 1);
  centralLayout->addWidget(statusLine);
  setCentralWidget(central);

  buildMenus();
  // F7 and F6 go straight to the findings and the preview.
  auto* toFindings = new QAction(this);
  toFindings->setShortcut(Qt::Key_F7);
  connect(toFindings, &QAction::triggered, this, [this, side] {
    side->setCurrentIndex(0);
    findingList->setFocus();
  });
  auto* toPreview = new QAction(this);
  toPreview->setShortcut(Qt::Key_F6);
  connect(toPreview, &QAction::triggered, this, [this, side] {
    side->setCurrentIndex(1);
    previewList->setFocus();
  });
  addActions({toFindings, toPreview});

  connect(lessonList, &QListWidget::currentRowChanged, this, &CourseWindow::showLesson);
  connect(entryTable, &QTableWidget::itemChanged, this, &CourseWindow::cellEdited);
  connect(findingList, &QListWidget::itemActivated, this, &CourseWindow::jumpToFinding);
  connect(findingList, &QListWidget::currentTextChanged, findingDetail, &QLabel::setText);
  connect(undoStack, &QUndoStack::cleanChanged, this,
          [this](bool clean) { setWindowModified(!clean); });
  setWindowTitle(QStringLiteral("课程编辑 — （没有打开课本）[*]"));
  resize(1000, 640);
}

QAction* CourseWindow::addCommand(QMenu* menu, const QString& text, const QKeySequence& key,
                                  void (CourseWindow::*slot)()) {
  QAction* action = menu->addAction(text);
  action->setShortcut(key);
  connect(action, &QAction::triggered, this, slot);
  return action;
}

void CourseWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  for (int i = 0; i < static_cast<int>(course::kBooks.size()); ++i) {
    QAction* open = file->addAction(
        QStringLiteral("打开%1(&%2)")
            .arg(QString::fromUtf8(course::kBooks[static_cast<std::size_t>(i)].title))
            .arg(i + 1));
    open->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
    connect(open, &QAction::triggered, this, [this, i] { openBook(i); });
  }
  addCommand(file, QStringLiteral("打开课程文件(&O)…"), QKeySequence::Open,
             &CourseWindow::openFileAsked);
  file->addSeparator();
  saveAction = file->addAction(QStringLiteral("保存(&S)"));
  saveAction->setShortcut(QKeySequence::Save);
  connect(saveAction, &QAction::triggered, this, &CourseWindow::save);
  saveAsAction = addCommand(file, QStringLiteral("另存为(&A)…"), QKeySequence::SaveAs,
                            &CourseWindow::saveAsAsked);
  exportLessonAction =
      addCommand(file, QStringLiteral("把这一课导出为 CSV(&E)…"), {}, &CourseWindow::exportLesson);
  exportBookAction =
      addCommand(file, QStringLiteral("把整册导出为 CSV(&B)…"), {}, &CourseWindow::exportBook);
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("退出(&Q)"));
  quit->setShortcut(QKeySequence::Quit);
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  undoAction = undoStack->createUndoAction(this, QStringLiteral("撤销"));
  undoAction->setShortcut(QKeySequence::Undo);
  redoAction = undoStack->createRedoAction(this, QStringLiteral("重做"));
  redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
  edit->addAction(undoAction);
  edit->addAction(redoAction);
  // What the status line said was about the book before the step taken back or again.
  for (QAction* step : {undoAction, redoAction}) {
    connect(step, &QAction::triggered, this, [this] { tell({}, false); });
  }
  edit->addSeparator();
  addEntryAction = addCommand(edit, QStringLiteral("添加词条(&N)"),
                              QKeySequence(Qt::CTRL | Qt::Key_N), &CourseWindow::addEntry);
  removeEntryAction =
      addCommand(edit, QStringLiteral("删除词条(&D)"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                 &CourseWindow::removeEntry);
  entryUpAction = addCommand(edit, QStringLiteral("词条上移(&U)"),
                             QKeySequence(Qt::ALT | Qt::Key_Up), &CourseWindow::moveEntryUp);
  entryDownAction = addCommand(edit, QStringLiteral("词条下移(&W)"),
                               QKeySequence(Qt::ALT | Qt::Key_Down), &CourseWindow::moveEntryDown);

  QMenu* lessons = menuBar()->addMenu(QStringLiteral("课(&L)"));
  addLessonAction =
      addCommand(lessons, QStringLiteral("新建课(&N)…"),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), &CourseWindow::addLesson);
  renameLessonAction = addCommand(lessons, QStringLiteral("重命名课(&R)…"),
                                  QKeySequence(Qt::CTRL | Qt::Key_R), &CourseWindow::renameLesson);
  removeLessonAction =
      addCommand(lessons, QStringLiteral("删除课(&D)"),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete), &CourseWindow::removeLesson);
  lessonUpAction =
      addCommand(lessons, QStringLiteral("课上移(&U)"),
                 QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Up), &CourseWindow::moveLessonUp);
  lessonDownAction =
      addCommand(lessons, QStringLiteral("课下移(&W)"),
                 QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Down), &CourseWindow::moveLessonDown);

  QMenu* import = menuBar()->addMenu(QStringLiteral("导入(&I)"));
  importFileAction = addCommand(import, QStringLiteral("从文件导入(&F)…"),
                                QKeySequence(Qt::CTRL | Qt::Key_I), &CourseWindow::importFileAsked);
  importClipboardAction =
      addCommand(import, QStringLiteral("从剪贴板导入(&C)…"),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), &CourseWindow::importClipboard);
}

void CourseWindow::setBook(editor::OpenedBook opened, editor::BookLocation location,
                           const QString& title) {
  const QString path = desk::PathText(location.path);
  if (opened.report.cutOff) {
    tell(QStringLiteral("%1 在第 %2 条记录中间就结束了：只读到了完整的文字，保存会按读到的内容写回")
             .arg(path)
             .arg(opened.report.wholeRecords + 1),
         true);
  } else {
    tell(QStringLiteral("已打开 %1").arg(path), false);
  }
  session_.open(std::move(opened), std::move(location));
  title_ = title;
  undoStack->clear();
  setWindowTitle(WindowTitle(title));
  setWindowModified(false);
  showRecord(0);
}

void CourseWindow::load(editor::BookLocation location, const QString& title) {
  auto opened = editor::OpenBookFile(location.path);
  if (!opened.status.ok()) {
    tell(QStringLiteral("无法打开 %1：%2")
             .arg(desk::PathText(opened.status.path),
                  desk::ReasonText(opened.status.error,
                                   QString::fromStdString(opened.status.reason))),
         true);
    return;
  }
  setBook(std::move(opened), std::move(location), title);
}

void CourseWindow::openBook(int index) {
  if (!mayLeaveBook()) return;
  const auto& entry = course::kBooks.at(static_cast<std::size_t>(index));
  load(editor::BookLocation::Fixed(session_.places(), entry.fileName),
       QString::fromUtf8(entry.title));
}

void CourseWindow::openFile(const QString& path) {
  if (!mayLeaveBook()) return;
  load(editor::BookLocation::AtPath(QFile::encodeName(path).toStdString()),
       QFileInfo(path).fileName());
}

bool CourseWindow::mayLeaveBook() {
  if (undoStack->isClean()) return true;
  switch (questions.unsaved(QStringLiteral("%1 有没保存的修改。先保存吗？").arg(title_))) {
    case QMessageBox::Save:
      return save();
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

bool CourseWindow::save() {
  if (session_.location().path.empty()) {
    saveAsAsked();
    return undoStack->isClean();
  }
  const auto outcome = session_.save();
  const QString file = desk::PathText(outcome.book.path);
  switch (outcome.kind) {
    case editor::SaveOutcome::Kind::ChangedOnDisk:
      return saveOverChangedBook(outcome.book.path);
    case editor::SaveOutcome::Kind::BookNotSaved: {
      const QString reason =
          book().fitsCourseFile()
              ? desk::ReasonText(outcome.book.error, QString::fromStdString(outcome.book.reason))
              : QStringLiteral("这一册有 %1 条，课程文件最多存 %2 条")
                    .arg(book().size())
                    .arg(course::kRecordSlots);
      tell(QStringLiteral("无法保存到 %1：%2").arg(file, reason), true);
      return false;
    }
    case editor::SaveOutcome::Kind::PhoneticsNotKept:
    case editor::SaveOutcome::Kind::Saved:
      break;
  }
  if (!phoneticsKept(outcome, QStringLiteral("已保存到 %1").arg(file))) return false;
  undoStack->setClean();
  tell(QStringLiteral("已保存到 %1").arg(file), false);
  return true;
}

// Saving now would silently throw away what someone else saved: the teacher chooses.
bool CourseWindow::saveOverChangedBook(const std::string& path) {
  const QString file = desk::PathText(path);
  tell(QStringLiteral("没有保存：%1 在这个窗口打开它之后被别的窗口或程序改过").arg(file), true);
  const auto choice = questions.changedOnDisk(
      QStringLiteral(
          "%1 在这个窗口打开它之后被别的窗口或程序改过，直接保存会把那些修改覆盖掉。\n"
          "可以重新载入它（放弃这个窗口里没保存的修改），或者把这个窗口的内容另存为别的文件。")
          .arg(file));
  switch (choice) {
    case ChangedOnDisk::Reload:
      load(session_.currentLocation(), title_);
      return false;
    case ChangedOnDisk::SaveAs:
      return saveElsewhere();
    case ChangedOnDisk::Cancel:
      break;
  }
  return false;
}

bool CourseWindow::saveAs(const QString& path, suite::FileIdentity* written) {
  const auto outcome = session_.saveAs(QFile::encodeName(path).toStdString(), written);
  if (outcome.kind == editor::SaveOutcome::Kind::BookNotSaved) {
    tell(QStringLiteral("无法保存到 %1：%2")
             .arg(path, desk::ReasonText(outcome.book.error,
                                         QString::fromStdString(outcome.book.reason))),
         true);
    return false;
  }
  if (!phoneticsKept(outcome, QStringLiteral("已另存到 %1").arg(path))) return false;
  tell(QStringLiteral("已另存到 %1").arg(path), false);
  return true;
}

bool CourseWindow::phoneticsKept(const editor::SaveOutcome& outcome, const QString& saved) {
  if (outcome.kind != editor::SaveOutcome::Kind::PhoneticsNotKept) return true;
  const QString why =
      outcome.badLine > 0
          ? QStringLiteral("它的第 %1 行不是“英文<Tab>音标”，请先改正这一行").arg(outcome.badLine)
          : desk::ReasonText(outcome.phonetics.error,
                             QString::fromStdString(outcome.phonetics.reason));
  tell(QStringLiteral("%1，但音标没有保存到 %2：%3")
           .arg(saved, desk::PathText(outcome.phoneticsPath), why),
       true);
  return false;
}

bool CourseWindow::saveElsewhere() {
  const QString path =
      questions.path(QStringLiteral("另存为"), QStringLiteral("课程文件 (*.dat)"), true);
  suite::FileIdentity written;
  if (path.isEmpty() || !saveAs(path, &written)) return false;
  // The window goes on with the file it saved to, which holds its edits.
  session_.adoptSavedAs(QFile::encodeName(path).toStdString(), written);
  title_ = QFileInfo(path).fileName();
  setWindowTitle(WindowTitle(title_));
  undoStack->setClean();
  return true;
}

void CourseWindow::saveAsAsked() {
  if (session_.location().path.empty()) {
    saveElsewhere();
    return;
  }
  const QString path =
      questions.path(QStringLiteral("另存为"), QStringLiteral("课程文件 (*.dat)"), true);
  suite::FileIdentity written;
  if (path.isEmpty() || !saveAs(path, &written)) return;
  // Written over the book's own file: the book itself is saved.
  if (session_.tookCopyAsSaved(written)) undoStack->setClean();
}

void CourseWindow::openFileAsked() {
  const QString path = questions.path(QStringLiteral("打开课程文件"),
                                      QStringLiteral("课程文件 (*.dat);;所有文件 (*)"), false);
  if (!path.isEmpty()) openFile(path);
}

void CourseWindow::exportCsv(const std::string& csv, const QString& suggested) {
  const QString path = questions.path(QStringLiteral("导出为 CSV：%1").arg(suggested),
                                      QStringLiteral("CSV 文件 (*.csv)"), true);
  if (path.isEmpty()) return;
  const auto written = suite::ReplaceFile(QFile::encodeName(path).toStdString(), csv);
  if (!written.ok()) {
    tell(QStringLiteral("无法导出到 %1：%2")
             .arg(path, desk::ReasonText(written.error, QString::fromStdString(written.reason))),
         true);
    return;
  }
  tell(QStringLiteral("已导出到 %1").arg(path), false);
}

void CourseWindow::exportLesson() {
  if (const auto* run = lesson()) exportCsv(editor::ExportCsv(book(), run), LessonLabel(*run));
}

void CourseWindow::exportBook() {
  exportCsv(editor::ExportCsv(book()), title_);
}

void CourseWindow::tell(const QString& text, bool trouble) {
  statusLine->setText(text);
  statusLine->setStyleSheet(trouble ? QStringLiteral("color: #b00020") : QString());
}

const editor::LessonRun* CourseWindow::lesson() const {
  return session_.lessonAt(lessonList->currentRow());
}

void CourseWindow::push(std::optional<editor::Edit> edit, const QString& text) {
  if (!edit) return;
  undoStack->push(new BookEditCommand(
      session_.book(), std::move(edit->splice), text, edit->focusAfter, edit->focusBefore,
      [this](std::size_t record) { showRecord(record); }, &session_.phonetics(),
      std::move(edit->phonetics)));
}

void CourseWindow::pushOrRefuse(editor::EditOutcome outcome, const QString& text,
                                const QString& refused, QTableWidgetItem* item,
                                const QString& shown) {
  if (outcome.problem.empty()) {
    push(std::move(outcome.edit), text);
    return;
  }
  if (item) {
    filling_ = true;
    item->setText(shown);
    filling_ = false;
  }
  tell(QStringLiteral("%1：%2").arg(refused, Text(outcome.problem)), true);
}

void CourseWindow::showRecord(std::size_t record) {
  session_.refreshLessons();
  const QSignalBlocker blocker(lessonList);
  lessonList->clear();
  for (const auto& run : session_.lessons()) lessonList->addItem(LessonLabel(run));
  const int chosen = session_.rowOfRecord(record);
  lessonList->setCurrentRow(chosen);
  showLesson(chosen);
  if (const auto* run = lesson(); run && record >= run->first && record < run->end()) {
    entryTable->setCurrentCell(static_cast<int>(record - run->first),
                               std::max(entryTable->currentColumn(), 0));
  }
  refreshChecks();
}

void CourseWindow::showLesson(int row) {
  const auto* run = lesson();
  filling_ = true;
  entryTable->setRowCount(run ? static_cast<int>(run->count) : 0);
  for (int r = 0; run && r < static_cast<int>(run->count); ++r) {
    const std::size_t record = run->first + static_cast<std::size_t>(r);
    for (int c = 0; c < kColumns; ++c) {
      const auto text =
          c == kPhoneticsColumn
              ? QString::fromStdString(phonetics()
                                           .find(course::ToUtf8(book().text(record, kEnglishField)))
                                           .value_or(std::string()))
              : Text(book().text(record, kEnglishField + c));
      if (auto* item = entryTable->item(r, c)) {
        item->setText(text);
      } else {
        entryTable->setItem(r, c, new QTableWidgetItem(text));
      }
    }
  }
  filling_ = false;
  rowSizer_->start();
  const bool any = row >= 0;
  for (auto* action : {addEntryAction, removeEntryAction, entryUpAction, entryDownAction,
                       renameLessonAction, removeLessonAction, lessonUpAction, lessonDownAction}) {
    action->setEnabled(any);
  }
  refreshPreview();
}

void CourseWindow::refreshChecks() {
  findingList->clear();
  const auto findings = editor::CheckBook(book());
  for (const auto& finding : findings) {
    auto* item = new QListWidgetItem(Text(finding.text), findingList);
    item->setData(Qt::UserRole,
                  static_cast<qulonglong>(finding.record.value_or(
                      session_.lessons().empty() ? 0 : session_.lessons()[finding.lesson].first)));
    item->setData(Qt::UserRole + 1, finding.field);
  }
  if (findings.empty())
    findingList->addItem(QStringLiteral("没有发现问题：选课程序和各学习程序都能用这一册。"));
}

void CourseWindow::refreshPreview() {
  previewList->clear();
  const auto* run = lesson();
  if (!run) {
    previewNote->setText(QStringLiteral("没有选中的课。"));
    return;
  }
  const auto preview = editor::PreviewLesson(book(), run->name);
  previewNote->setText(preview.listed
                           ? QStringLiteral("保存后，选课程序这样显示“%1”：").arg(LessonLabel(*run))
                           : QStringLiteral("选课程序不会列出“%1”。").arg(LessonLabel(*run)));
  for (const auto& line : preview.lines) previewList->addItem(Text(line));
}

void CourseWindow::jumpToFinding(QListWidgetItem* item) {
  // Showing the record lists the findings afresh, `item` with them.
  const QVariant record = item->data(Qt::UserRole);
  const int field = item->data(Qt::UserRole + 1).toInt();
  if (!record.isValid()) return;
  showRecord(record.toULongLong());
  if (field >= kEnglishField)
    entryTable->setCurrentCell(entryTable->currentRow(), field - kEnglishField);
  entryTable->setFocus();
}

void CourseWindow::cellEdited(QTableWidgetItem* item) {
  const auto* run = lesson();
  if (filling_ || !run) return;
  const std::size_t record = run->first + static_cast<std::size_t>(item->row());
  const QString refused = QStringLiteral("没有改动");
  if (item->column() == kPhoneticsColumn) {
    const auto english = course::ToUtf8(book().text(record, kEnglishField));
    pushOrRefuse(session_.setPhonetics(record, item->text().toStdU16String()),
                 QStringLiteral("修改音标"), refused, item,
                 QString::fromStdString(phonetics().find(english).value_or(std::string())));
    return;
  }
  const int field = kEnglishField + item->column();
  pushOrRefuse(session_.setText(record, field, item->text().toStdU16String()),
               QStringLiteral("修改词条"), refused, item, Text(book().text(record, field)));
}

void CourseWindow::addEntry() {
  push(session_.addEntry(lessonList->currentRow(), entryTable->currentRow()),
       QStringLiteral("添加词条"));
  if (!lesson()) return;
  entryTable->setFocus();
  entryTable->setCurrentCell(entryTable->currentRow(), 0);
}

void CourseWindow::removeEntry() {
  push(session_.removeEntry(lessonList->currentRow(), entryTable->currentRow()),
       QStringLiteral("删除词条"));
}

void CourseWindow::moveEntryUp() {
  push(session_.moveEntry(lessonList->currentRow(), entryTable->currentRow(), -1),
       QStringLiteral("移动词条"));
}

void CourseWindow::moveEntryDown() {
  push(session_.moveEntry(lessonList->currentRow(), entryTable->currentRow(), +1),
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
  pushOrRefuse(session_.renameLesson(lessonList->currentRow(), name.toStdU16String()),
               QStringLiteral("重命名课"), QStringLiteral("没有重命名"));
}

void CourseWindow::removeLesson() {
  push(session_.removeLesson(lessonList->currentRow()), QStringLiteral("删除课"));
}

void CourseWindow::moveLessonUp() {
  push(session_.moveLesson(lessonList->currentRow(), -1), QStringLiteral("移动课"));
}

void CourseWindow::moveLessonDown() {
  push(session_.moveLesson(lessonList->currentRow(), +1), QStringLiteral("移动课"));
}

void CourseWindow::importFileAsked() {
  const QString path =
      questions.path(QStringLiteral("从文件导入"),
                     QStringLiteral("词表 (*.csv *.tsv *.txt *.xlsx);;所有文件 (*)"), false);
  if (path.isEmpty()) return;
  std::string bytes;
  const suite::FileStatus read =
      editor::ReadImportFile(QFile::encodeName(path).toStdString(), bytes);
  if (!read.ok()) {
    tell(QStringLiteral("无法读取 %1：%2")
             .arg(path, desk::ReasonText(read.error, QString::fromStdString(read.reason))),
         true);
    return;
  }
  importBytes(QByteArray::fromStdString(bytes), path, QFileInfo(path).completeBaseName());
}

void CourseWindow::importClipboard() {
  const QString text = questions.clipboard();
  if (text.trimmed().isEmpty()) {
    tell(QStringLiteral("剪贴板里没有文字，没有导入。"), true);
    return;
  }
  importText(text);
}

void CourseWindow::importBytes(const QByteArray& bytes, const QString& source,
                               const QString& suggestedName) {
  runImport(editor::ImportSource::FromBytes(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))),
            source, suggestedName);
}

void CourseWindow::importText(const QString& text) {
  runImport(editor::ImportSource::FromText(text.toStdU16String()), QStringLiteral("剪贴板"),
            QStringLiteral("新课"));
}

void CourseWindow::runImport(editor::ImportSource source, const QString& sourceName,
                             const QString& suggestedName) {
  ImportDialog dialog(
      std::move(source), book(), sourceName, suggestedName,
      lesson() ? LessonLabel(*lesson()) : QString(),
      [this](const QString& name) {
        return Text(session_.lessonNameProblem(name.toStdU16String(), -1));
      },
      this);
  if (!questions.import(dialog)) return;
  const auto* run = dialog.intoChosenLesson->isChecked() ? lesson() : nullptr;
  const std::u16string name = run ? run->name : dialog.lessonName->text().toStdU16String();
  const auto& entries = dialog.entries().entries;
  push(session_.importEntries(run ? lessonList->currentRow() : -1, name, entries),
       QStringLiteral("导入词条"));
  tell(QStringLiteral("已把 %1 条词条导入“%2”（还没有保存）").arg(entries.size()).arg(Text(name)),
       false);
}

void CourseWindow::closeEvent(QCloseEvent* event) {
  if (mayLeaveBook()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace coursedesk
