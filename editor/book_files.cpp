// SPDX-License-Identifier: MIT
#include "book_files.h"

#include <QFile>
#include <QFileInfo>

#include "app_folder.h"
#include "failure_text.h"
#include "file_io.h"
#include "fixed_names.h"

namespace coursedesk {
namespace {

QString Reason(const suite::FileStatus& status) {
  return desk::ReasonText(status.error, QString::fromStdString(status.reason));
}

QString CourseFileAsked(Questions& questions) {
  return questions.path(QStringLiteral("另存为"), QStringLiteral("课程文件 (*.dat)"), true);
}

}  // namespace

BookFiles::BookFiles(editor::EditingSession& session, Questions& questions, QUndoStack& undo,
                     StatusLine& status)
    : session_(session), questions_(questions), undo_(undo), status_(status) {}

void BookFiles::load(editor::BookLocation location, const QString& title) {
  auto read = editor::OpenBookFile(location.path);
  if (!read.status.ok()) {
    status_.tell(QStringLiteral("无法打开 %1：%2")
                     .arg(desk::PathText(read.status.path), Reason(read.status)),
                 true);
    return;
  }
  const QString path = desk::PathText(location.path);
  if (read.report.cutOff) {
    status_.tell(
        QStringLiteral("%1 在第 %2 条记录中间就结束了：只读到了完整的文字，保存会按读到的内容写回")
            .arg(path)
            .arg(read.report.wholeRecords + 1),
        true);
  } else {
    status_.tell(QStringLiteral("已打开 %1").arg(path), false);
  }
  session_.open(std::move(read), std::move(location));
  title_ = title;
  undo_.clear();
  emit opened();
}

void BookFiles::openBook(int index) {
  if (!mayLeaveBook()) return;
  const auto& entry = course::kBooks.at(static_cast<std::size_t>(index));
  load(editor::BookLocation::Fixed(session_.places(), entry.fileName),
       QString::fromUtf8(entry.title));
}

void BookFiles::openFile(const QString& path) {
  if (!mayLeaveBook()) return;
  load(editor::BookLocation::AtPath(QFile::encodeName(path).toStdString()),
       QFileInfo(path).fileName());
}

void BookFiles::openFileAsked() {
  const QString path = questions_.path(QStringLiteral("打开课程文件"),
                                       QStringLiteral("课程文件 (*.dat);;所有文件 (*)"), false);
  if (!path.isEmpty()) openFile(path);
}

bool BookFiles::mayLeaveBook() {
  if (undo_.isClean()) return true;
  switch (questions_.unsaved(QStringLiteral("%1 有没保存的修改。先保存吗？").arg(title_))) {
    case QMessageBox::Save:
      return save();
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

bool BookFiles::save() {
  if (session_.location().path.empty()) {
    saveAsAsked();
    return undo_.isClean();
  }
  const auto outcome = session_.save();
  const QString file = desk::PathText(outcome.book.path);
  switch (outcome.kind) {
    case editor::SaveOutcome::Kind::ChangedOnDisk:
      return saveOverChangedBook(outcome.book.path);
    case editor::SaveOutcome::Kind::BookNotSaved: {
      const auto& book = session_.book();
      const QString reason = book.fitsCourseFile()
                                 ? Reason(outcome.book)
                                 : QStringLiteral("这一册有 %1 条，课程文件最多存 %2 条")
                                       .arg(book.size())
                                       .arg(course::kRecordSlots);
      status_.tell(QStringLiteral("无法保存到 %1：%2").arg(file, reason), true);
      return false;
    }
    case editor::SaveOutcome::Kind::PhoneticsNotKept:
    case editor::SaveOutcome::Kind::Saved:
      break;
  }
  if (!phoneticsKept(outcome, QStringLiteral("已保存到 %1").arg(file))) return false;
  undo_.setClean();
  status_.tell(QStringLiteral("已保存到 %1").arg(file), false);
  return true;
}

// Saving now would silently throw away what someone else saved: the teacher chooses.
bool BookFiles::saveOverChangedBook(const std::string& path) {
  const QString file = desk::PathText(path);
  status_.tell(QStringLiteral("没有保存：%1 在这个窗口打开它之后被别的窗口或程序改过").arg(file),
               true);
  const auto choice = questions_.changedOnDisk(
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

bool BookFiles::saveAs(const QString& path, suite::FileIdentity* written) {
  const auto outcome = session_.saveAs(QFile::encodeName(path).toStdString(), written);
  if (outcome.kind == editor::SaveOutcome::Kind::BookNotSaved) {
    status_.tell(QStringLiteral("无法保存到 %1：%2").arg(path, Reason(outcome.book)), true);
    return false;
  }
  if (!phoneticsKept(outcome, QStringLiteral("已另存到 %1").arg(path))) return false;
  status_.tell(QStringLiteral("已另存到 %1").arg(path), false);
  return true;
}

bool BookFiles::phoneticsKept(const editor::SaveOutcome& outcome, const QString& saved) {
  if (outcome.kind != editor::SaveOutcome::Kind::PhoneticsNotKept) return true;
  const QString why =
      outcome.badLine > 0
          ? QStringLiteral("它的第 %1 行不是“英文<Tab>音标”，请先改正这一行").arg(outcome.badLine)
          : Reason(outcome.phonetics);
  status_.tell(QStringLiteral("%1，但音标没有保存到 %2：%3")
                   .arg(saved, desk::PathText(outcome.phoneticsPath), why),
               true);
  return false;
}

bool BookFiles::saveElsewhere() {
  const QString path = CourseFileAsked(questions_);
  suite::FileIdentity written;
  if (path.isEmpty() || !saveAs(path, &written)) return false;
  // The window goes on with the file it saved to, which holds its edits.
  session_.adoptSavedAs(QFile::encodeName(path).toStdString(), written);
  title_ = QFileInfo(path).fileName();
  emit retitled();
  undo_.setClean();
  return true;
}

void BookFiles::saveAsAsked() {
  if (session_.location().path.empty()) {
    saveElsewhere();
    return;
  }
  const QString path = CourseFileAsked(questions_);
  suite::FileIdentity written;
  if (path.isEmpty() || !saveAs(path, &written)) return;
  // Written over the book's own file: the book itself is saved.
  if (session_.tookCopyAsSaved(written)) undo_.setClean();
}

void BookFiles::exportCsv(const std::string& csv, const QString& suggested) {
  const QString path = questions_.path(QStringLiteral("导出为 CSV：%1").arg(suggested),
                                       QStringLiteral("CSV 文件 (*.csv)"), true);
  if (path.isEmpty()) return;
  const auto written = suite::ReplaceFile(QFile::encodeName(path).toStdString(), csv);
  if (!written.ok()) {
    status_.tell(QStringLiteral("无法导出到 %1：%2").arg(path, Reason(written)), true);
    return;
  }
  status_.tell(QStringLiteral("已导出到 %1").arg(path), false);
}

}  // namespace coursedesk
