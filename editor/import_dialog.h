// SPDX-License-Identifier: MIT
// 导入词条: the first rows of what is imported, which column is 英文, 中文 and 词性 (guessed,
// changeable), and where the entries go: a new lesson or the chosen one.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <functional>

#include "import_entries.h"

namespace coursedesk {

class ImportDialog : public QDialog {
  Q_OBJECT

 public:
  // `nameProblem` says why a new lesson's name cannot be used, or nothing.
  ImportDialog(editor::ImportTable table, const QString& source, const QString& suggestedName,
               const QString& chosenLesson, std::function<QString(const QString&)> nameProblem,
               QWidget* parent = nullptr);

  static constexpr int kPreviewRows = 8;

  QTableWidget* preview = nullptr;
  QComboBox* englishColumn = nullptr;
  QComboBox* chineseColumn = nullptr;
  QComboBox* partOfSpeechColumn = nullptr;
  QRadioButton* intoNewLesson = nullptr;
  QLineEdit* lessonName = nullptr;
  QRadioButton* intoChosenLesson = nullptr;
  QLabel* verdict = nullptr;  // how many entries, or why none can be imported
  QDialogButtonBox* buttons = nullptr;

  editor::ColumnChoice choice() const;
  // The entries of the whole source with the columns chosen; valid once accepted.
  const editor::ImportedEntries& entries() const { return entries_; }

 private:
  QComboBox* columnBox(const QString& name, int chosen);
  void update();

  editor::ImportTable table_;
  editor::ImportedEntries entries_;
  std::function<QString(const QString&)> nameProblem_;
};

}  // namespace coursedesk
