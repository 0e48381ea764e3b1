// SPDX-License-Identifier: MIT
#include "import_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "import_limits.h"
#include "window_placement.h"

namespace coursedesk {
namespace {

QString Text(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

}  // namespace

ImportDialog::ImportDialog(editor::ImportSource source, const editor::Book& book,
                           const QString& sourceName, const QString& suggestedName,
                           const QString& chosenLesson,
                           std::function<QString(const QString&)> nameProblem, QWidget* parent)
    : QDialog(parent),
      source_(std::move(source)),
      book_(book),
      sourceName_(sourceName),
      nameProblem_(std::move(nameProblem)) {
  setWindowTitle(QStringLiteral("导入词条"));
  heading = new QLabel(this);
  heading->setWordWrap(true);

  separation = new QComboBox(this);
  separation->setAccessibleName(QStringLiteral("分隔方式"));
  separation->addItem(QStringLiteral("自动判断"), int(editor::Separation::Guess));
  separation->addItem(QStringLiteral("每行一条（在制表符或第一个中文处分开）"),
                      int(editor::Separation::Lines));
  separation->addItem(QStringLiteral("制表符"), int(editor::Separation::Tab));
  separation->addItem(QStringLiteral("逗号"), int(editor::Separation::Comma));
  separation->addItem(QStringLiteral("分号"), int(editor::Separation::Semicolon));
  separation->setEnabled(source_.splits());
  headerRow = new QCheckBox(QStringLiteral("第一行是表头(&H)"), this);
  headerRow->setAccessibleName(QStringLiteral("第一行是表头"));

  preview = new QTableWidget(this);
  preview->setAccessibleName(QStringLiteral("要导入的前几行"));
  preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview->setTabKeyNavigation(false);
  preview->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  entryPreview = new QTableWidget(0, 4, this);
  entryPreview->setAccessibleName(QStringLiteral("导入后的前几条词条"));
  entryPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  entryPreview->setTabKeyNavigation(false);
  entryPreview->setHorizontalHeaderLabels({QStringLiteral("英文"), QStringLiteral("音标"),
                                           QStringLiteral("词性"), QStringLiteral("中文")});
  entryPreview->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  // One beside the other would not fit a small screen: the two views share the space.
  auto* previews = new QTabWidget(this);
  previews->setAccessibleName(QStringLiteral("预览"));
  previews->addTab(entryPreview, QStringLiteral("导入后的词条"));
  previews->addTab(preview, QStringLiteral("分开后的行"));

  englishColumn = columnBox(QStringLiteral("英文所在的列"));
  chineseColumn = columnBox(QStringLiteral("中文所在的列"));
  partOfSpeechColumn = columnBox(QStringLiteral("词性所在的列"));
  phoneticColumn = columnBox(QStringLiteral("音标所在的列"));

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

  auto* split = new QHBoxLayout;
  split->addWidget(separation, 1);
  split->addWidget(headerRow);
  auto* splitLabel = new QLabel(QStringLiteral("分隔(&S)："), this);
  splitLabel->setBuddy(separation);
  auto* columns = new QFormLayout;
  columns->addRow(splitLabel, split);
  // Two roles a row, so that the dialog fits a 1024×768 screen at twice the scale.
  auto* roles = new QGridLayout;
  const std::pair<QString, QComboBox*> named[] = {
      {QStringLiteral("英文(&E)："), englishColumn},
      {QStringLiteral("中文(&Z)："), chineseColumn},
      {QStringLiteral("词性(&P)："), partOfSpeechColumn},
      {QStringLiteral("音标(&Y)："), phoneticColumn}};
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(named[i].first, this);
    label->setBuddy(named[i].second);
    roles->addWidget(label, i / 2, (i % 2) * 2);
    roles->addWidget(named[i].second, i / 2, (i % 2) * 2 + 1);
  }
  roles->setColumnStretch(1, 1);
  roles->setColumnStretch(3, 1);
  auto* form = new QFormLayout;
  form->addRow(intoNewLesson, lessonName);
  form->addRow(intoChosenLesson);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addLayout(columns);
  layout->addWidget(previews, 1);
  layout->addLayout(roles);
  layout->addLayout(form);
  layout->addWidget(verdict);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(separation, &QComboBox::currentIndexChanged, this, [this] { reread(std::nullopt); });
  connect(headerRow, &QCheckBox::toggled, this, [this](bool on) { reread(on); });
  for (auto* box : {englishColumn, chineseColumn, partOfSpeechColumn, phoneticColumn}) {
    connect(box, &QComboBox::currentIndexChanged, this, &ImportDialog::update);
  }
  connect(lessonName, &QLineEdit::textChanged, this, &ImportDialog::update);
  connect(intoNewLesson, &QRadioButton::toggled, this, &ImportDialog::update);
  connect(lessonName, &QLineEdit::textEdited, this, [this] { intoNewLesson->setChecked(true); });
  reread(std::nullopt);
  lessonName->setFocus();
  lessonName->selectAll();
  resize(640, 560);
  desk::FitToScreen(this, parent ? parent->screen() : screen());
}

QComboBox* ImportDialog::columnBox(const QString& name) {
  auto* box = new QComboBox(this);
  box->setAccessibleName(name);
  return box;
}

editor::ColumnChoice ImportDialog::choice() const {
  return {englishColumn->currentData().toInt(), chineseColumn->currentData().toInt(),
          partOfSpeechColumn->currentData().toInt(), phoneticColumn->currentData().toInt()};
}

void ImportDialog::reread(std::optional<bool> header) {
  table_ =
      source_.read({static_cast<editor::Separation>(separation->currentData().toInt()), header});
  {
    const QSignalBlocker blocker(headerRow);
    headerRow->setChecked(table_.headerRow);
  }
  showTable();
  update();
}

void ImportDialog::showTable() {
  const QString rows = table_.cut ? QStringLiteral("超过 %1").arg(editor::kMostRows)
                                  : QString::number(table_.rows.size());
  heading->setText(
      QStringLiteral("来自 %1，共 %2 行；下面是前几行分开后的样子：").arg(sourceName_, rows));
  const int columns = static_cast<int>(table_.columnCount());
  preview->clear();
  preview->setRowCount(std::min<int>(kPreviewRows, static_cast<int>(table_.rows.size())));
  preview->setColumnCount(columns);
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

  const auto guess = editor::GuessColumns(table_);
  const std::pair<QComboBox*, int> boxes[] = {{englishColumn, guess.english},
                                              {chineseColumn, guess.chinese},
                                              {partOfSpeechColumn, guess.partOfSpeech},
                                              {phoneticColumn, guess.phonetic}};
  for (const auto& [box, chosen] : boxes) {
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItem(QStringLiteral("（没有）"), editor::kNoColumn);
    for (int c = 0; c < columns; ++c) box->addItem(headers[c], c);
    box->setCurrentIndex(chosen + 1);
  }
}

void ImportDialog::showEntries() {
  const auto& entries = entries_.entries;
  entryPreview->setRowCount(std::min<int>(kPreviewRows, static_cast<int>(entries.size())));
  for (int r = 0; r < entryPreview->rowCount(); ++r) {
    const auto& entry = entries[static_cast<std::size_t>(r)];
    entryPreview->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(entry.line)));
    int column = 0;
    for (const auto* text :
         {&entry.english, &entry.phonetic, &entry.partOfSpeech, &entry.chinese}) {
      entryPreview->setItem(r, column++, new QTableWidgetItem(Text(*text)));
    }
  }
}

void ImportDialog::update() {
  entries_ = editor::MakeEntries(table_, choice());
  showEntries();
  QString problem;
  if (table_.refusal) {
    problem = Text(table_.refusal.text());
  } else if (entries_.refusal) {
    problem = Text(entries_.refusal.text());
  } else if (entries_.entries.empty()) {
    problem = QStringLiteral("所选的列里没有词条");
  } else if (const auto limit = editor::CheckImportLimits(book_, entries_.entries.size(),
                                                          intoNewLesson->isChecked(), table_.cut)) {
    problem = Text(editor::LimitText(limit));
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
