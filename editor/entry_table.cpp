// SPDX-License-Identifier: MIT
#include "entry_table.h"

#include <QHeaderView>

namespace coursedesk {

EntryTable::EntryTable(QWidget* parent)
    : QTableWidget(0, editor::kEntryColumns, parent), rowSizer_(new QTimer(this)) {
  setAccessibleName(QStringLiteral("这一课的词条"));
  setHorizontalHeaderLabels({QStringLiteral("英文"), QStringLiteral("中文"), QStringLiteral("词性"),
                             QStringLiteral("栏目"), QStringLiteral("音标")});
  // English and Chinese share the width, the short marks take what they need.
  horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (int column = 2; column < editor::kEntryColumns; ++column) {
    horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  setWordWrap(true);
  rowSizer_->setSingleShot(true);
  rowSizer_->setInterval(0);
  connect(rowSizer_, &QTimer::timeout, this, &QTableView::resizeRowsToContents);
  connect(horizontalHeader(), &QHeaderView::sectionResized, rowSizer_, qOverload<>(&QTimer::start));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setTabKeyNavigation(false);  // Tab leaves the table; the arrows move inside
  connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (!filling_) emit edited(item->row(), item->column(), item->text());
  });
}

void EntryTable::showLesson(const editor::EditingSession& session,
                            const editor::LessonRun* lesson) {
  filling_ = true;
  const int rows = lesson ? static_cast<int>(lesson->count) : 0;
  setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < editor::kEntryColumns; ++c) {
      const auto text =
          QString::fromStdU16String(session.cell(lesson->first + static_cast<std::size_t>(r), c));
      if (auto* cell = item(r, c)) {
        cell->setText(text);
      } else {
        setItem(r, c, new QTableWidgetItem(text));
      }
    }
  }
  filling_ = false;
  rowSizer_->start();
}

void EntryTable::putBack(int row, int column, const QString& text) {
  filling_ = true;
  item(row, column)->setText(text);
  filling_ = false;
}

}  // namespace coursedesk
