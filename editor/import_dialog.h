// SPDX-License-Identifier: MIT
// 导入词条: how the list splits (guessed, changeable: at a separator or one entry a line,
// whether the first row is a header), its first rows so split and the entries they give,
// which column is 英文, 中文, 词性 and 音标 (guessed, changeable), and where the entries go:
// a new lesson or the chosen one. What the book cannot take is said before anything is
// imported.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <functional>
#include <optional>

#include "book.h"
#include "import_entries.h"
#include "import_reader.h"

namespace coursedesk {

class ImportDialog : public QDialog {
  Q_OBJECT

 public:
  // `nameProblem` says why a new lesson's name cannot be used, or nothing. `book` is the book
  // the entries go into; it outlives the dialog.
  ImportDialog(editor::ImportSource source, const editor::Book& book, const QString& sourceName,
               const QString& suggestedName, const QString& chosenLesson,
               std::function<QString(const QString&)> nameProblem, QWidget* parent = nullptr);

  static constexpr int kPreviewRows = 8;

  QLabel* heading = nullptr;
  QComboBox* separation = nullptr;       // 自动判断, 每行一条, 制表符, 逗号, 分号
  QCheckBox* headerRow = nullptr;        // 第一行是表头
  QTableWidget* preview = nullptr;       // the first rows as split, by column
  QTableWidget* entryPreview = nullptr;  // the first entries they give: 英文, 音标, 词性, 中文
  QComboBox* englishColumn = nullptr;
  QComboBox* chineseColumn = nullptr;
  QComboBox* partOfSpeechColumn = nullptr;
  QComboBox* phoneticColumn = nullptr;
  QRadioButton* intoNewLesson = nullptr;
  QLineEdit* lessonName = nullptr;
  QRadioButton* intoChosenLesson = nullptr;
  QLabel* verdict = nullptr;  // how many entries, or why none can be imported
  QDialogButtonBox* buttons = nullptr;

  editor::ColumnChoice choice() const;
  // The entries of the whole source with the columns chosen; valid once accepted.
  const editor::ImportedEntries& entries() const { return entries_; }

 private:
  QComboBox* columnBox(const QString& name);
  // Reads the source again as split now, the header row as given or guessed.
  void reread(std::optional<bool> header);
  void showTable();
  void showEntries();
  void update();

  editor::ImportSource source_;
  const editor::Book& book_;
  QString sourceName_;
  editor::ImportTable table_;
  editor::ImportedEntries entries_;
  std::function<QString(const QString&)> nameProblem_;
};

}  // namespace coursedesk
