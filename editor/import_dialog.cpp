// SPDX-License-Identifier: MIT
#include "import_dialog.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "window_placement.h"

namespace coursedesk {
namespace {

QString Text(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

}  // namespace

ImportDialog::ImportDialog(editor::ImportTable table, const QString& source,
                           const QString& suggestedName, const QString& chosenLesson,
                           std::function<QString(const QString&)> nameProblem, QWidget* parent)
    : QDialog(parent), table_(std::move(table)), nameProblem_(std::move(nameProblem)) {
  setWindowTitle(QStringLiteral("导入词条"));
  auto* heading = new QLabel(
      QStringLiteral("来自 %1，共 %2 行；下面是前几行：").arg(source).arg(table_.rows.size()),
      this);
  heading->setWordWrap(true);

  const int columns = static_cast<int>(table_.columnCount());
  preview = new QTableWidget(std::min<int>(kPreviewRows, static_cast<int>(table_.rows.size())),
                             columns, this);
  preview->setAccessibleName(QStringLiteral("要导入的前几行"));
  preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview->setTabKeyNavigation(false);
  QStringList headers;
  for (int c = 0; c < columns; ++c) {
    const auto named = static_cast<std::size_t>(c) < table_.columnNames.size()
                           ? Text(table_.columnNames[static_cast<std::size_t>(c)])
                           : QString();
    headers << (named.isEmpty() ? QStringLiteral("第 %1 列").arg(c + 1)
                                : QStringLiteral("第 %1 列：%2").arg(c + 1).arg(named));
  }
  preview->setHorizontalHeaderLabels(headers);
  for (int r = 0; r < preview->rowCount(); ++r) {
    const auto& row = table_.rows[static_cast<std::size_t>(r)];
    preview->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(row.line)));
    for (std::size_t c = 0; c < row.fields.size(); ++c) {
      preview->setItem(r, static_cast<int>(c), new QTableWidgetItem(Text(row.fields[c])));
    }
  }
  preview->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

  const auto guess = editor::GuessColumns(table_);
  englishColumn = columnBox(QStringLiteral("英文所在的列"), guess.english);
  chineseColumn = columnBox(QStringLiteral("中文所在的列"), guess.chinese);
  partOfSpeechColumn = columnBox(QStringLiteral("词性所在的列"), guess.partOfSpeech);

  intoNewLesson = new QRadioButton(QStringLiteral("导入为新课(&N)，课名："), this);
  intoNewLesson->setAccessibleName(QStringLiteral("导入为新课"));
  lessonName = new QLineEdit(suggestedName, this);
  lessonName->setAccessibleName(QStringLiteral("新课的课名"));
  intoChosenLesson = new QRadioButton(
      chosenLesson.isEmpty() ? QStringLiteral("导入到选中的课(&C)（没有选中的课）")
                             : QStringLiteral("导入到选中的课(&C)：%1").arg(chosenLesson),
      this);
  intoChosenLesson->setAccessibleName(QStringLiteral("导入到选中的课"));
  intoChosenLesson->setEnabled(!chosenLesson.isEmpty());
  intoNewLesson->setChecked(true);

  verdict = new QLabel(this);
  verdict->setWordWrap(true);
  verdict->setAccessibleName(QStringLiteral("导入结果"));
  buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导入"));
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("导入"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("取消"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("英文(&E)："), englishColumn);
  form->addRow(QStringLiteral("中文(&Z)："), chineseColumn);
  form->addRow(QStringLiteral("词性(&P)："), partOfSpeechColumn);
  form->addRow(intoNewLesson, lessonName);
  form->addRow(intoChosenLesson);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(preview, 1);
  layout->addLayout(form);
  layout->addWidget(verdict);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  for (auto* box : {englishColumn, chineseColumn, partOfSpeechColumn}) {
    connect(box, &QComboBox::currentIndexChanged, this, &ImportDialog::update);
  }
  connect(lessonName, &QLineEdit::textChanged, this, &ImportDialog::update);
  connect(intoNewLesson, &QRadioButton::toggled, this, &ImportDialog::update);
  connect(lessonName, &QLineEdit::textEdited, this, [this] { intoNewLesson->setChecked(true); });
  update();
  lessonName->setFocus();
  lessonName->selectAll();
  resize(640, 520);
  desk::FitToScreen(this, parent ? parent->screen() : screen());
}

QComboBox* ImportDialog::columnBox(const QString& name, int chosen) {
  auto* box = new QComboBox(this);
  box->setAccessibleName(name);
  box->addItem(QStringLiteral("（没有）"), editor::kNoColumn);
  for (int c = 0; c < static_cast<int>(table_.columnCount()); ++c) {
    box->addItem(QStringLiteral("第 %1 列").arg(c + 1), c);
  }
  box->setCurrentIndex(chosen + 1);
  return box;
}

editor::ColumnChoice ImportDialog::choice() const {
  return {englishColumn->currentData().toInt(), chineseColumn->currentData().toInt(),
          partOfSpeechColumn->currentData().toInt()};
}

void ImportDialog::update() {
  entries_ = editor::MakeEntries(table_, choice());
  QString problem;
  if (table_.refusal) {
    problem = Text(table_.refusal.text());
  } else if (entries_.refusal) {
    problem = Text(entries_.refusal.text());
  } else if (entries_.entries.empty()) {
    problem = QStringLiteral("所选的列里没有词条");
  } else if (intoNewLesson->isChecked()) {
    problem = nameProblem_(lessonName->text());
  }
  verdict->setText(problem.isEmpty()
                       ? QStringLiteral("将导入 %1 条词条。").arg(entries_.entries.size())
                       : QStringLiteral("不能导入：%1").arg(problem));
  verdict->setStyleSheet(problem.isEmpty() ? QString() : QStringLiteral("color: #b00020"));
  buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

}  // namespace coursedesk
