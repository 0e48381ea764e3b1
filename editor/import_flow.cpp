// SPDX-License-Identifier: MIT
#include "import_flow.h"

#include <QFile>
#include <QFileInfo>

#include "failure_text.h"
#include "import_dialog.h"
#include "import_file.h"
#include "lesson_name.h"

namespace coursedesk {

ImportFlow::ImportFlow(Questions& questions, const editor::EditingSession& session,
                       StatusLine& status, QWidget* parent)
    : questions_(questions), session_(session), status_(status), parent_(parent) {}

std::optional<editor::Edit> ImportFlow::fromFile(int lesson) {
  const QString path =
      questions_.path(QStringLiteral("从文件导入"),
                      QStringLiteral("词表 (*.csv *.tsv *.txt *.xlsx);;所有文件 (*)"), false);
  if (path.isEmpty()) return std::nullopt;
  std::string bytes;
  const suite::FileStatus read =
      editor::ReadImportFile(QFile::encodeName(path).toStdString(), bytes);
  if (!read.ok()) {
    status_.tell(QStringLiteral("无法读取 %1：%2")
                     .arg(path, desk::ReasonText(read.error, QString::fromStdString(read.reason))),
                 true);
    return std::nullopt;
  }
  return fromBytes(QByteArray::fromStdString(bytes), path, QFileInfo(path).completeBaseName(),
                   lesson);
}

std::optional<editor::Edit> ImportFlow::fromClipboard(int lesson) {
  const QString text = questions_.clipboard();
  if (text.trimmed().isEmpty()) {
    status_.tell(QStringLiteral("剪贴板里没有文字，没有导入。"), true);
    return std::nullopt;
  }
  return fromText(text, lesson);
}

std::optional<editor::Edit> ImportFlow::fromBytes(const QByteArray& bytes, const QString& source,
                                                  const QString& suggestedName, int lesson) {
  return run(editor::ImportSource::FromBytes(
                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))),
             source, suggestedName, lesson);
}

std::optional<editor::Edit> ImportFlow::fromText(const QString& text, int lesson) {
  return run(editor::ImportSource::FromText(text.toStdU16String()), QStringLiteral("剪贴板"),
             QStringLiteral("新课"), lesson);
}

std::optional<editor::Edit> ImportFlow::run(editor::ImportSource source, const QString& sourceName,
                                            const QString& suggestedName, int lesson) {
  const editor::LessonRun* chosen = session_.lessonAt(lesson);
  ImportDialog dialog(
      std::move(source), session_.book(), sourceName, suggestedName,
      chosen ? QString::fromStdU16String(editor::LessonLabel(*chosen)) : QString(),
      [this](const QString& name) {
        return QString::fromStdU16String(session_.lessonNameProblem(name.toStdU16String(), -1));
      },
      parent_);
  if (!questions_.import(dialog)) return std::nullopt;
  const int into = dialog.intoChosenLesson->isChecked() ? lesson : -1;
  const std::u16string name =
      session_.importLessonName(into, dialog.lessonName->text().toStdU16String());
  const auto& entries = dialog.entries().entries;
  status_.tell(QStringLiteral("已把 %1 条词条导入“%2”（还没有保存）")
                   .arg(entries.size())
                   .arg(QString::fromStdU16String(name)),
               false);
  return session_.importEntries(into, name, entries);
}

}  // namespace coursedesk
