// SPDX-License-Identifier: MIT
// Beside the entries, on two pages: 检查, each finding of the book's checks (Enter jumps to
// it) with the chosen one in full below; and 选课预览, the chosen lesson as the chooser will
// show it once the book is saved.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <vector>

#include "book.h"
#include "editing_session.h"

namespace coursedesk {

class CheckAndPreview : public QTabWidget {
  Q_OBJECT

 public:
  explicit CheckAndPreview(QWidget* parent);

  void showFindings(const std::vector<editor::PlacedFinding>& findings);
  void showPreview(const editor::Book& book, const editor::LessonRun* lesson);
  // Brings a page forward with the focus on its list.
  void focusFindings();
  void focusPreview();

  QListWidget* findingList = nullptr;
  QLabel* findingDetail = nullptr;  // the chosen finding in full, wrapped
  QLabel* previewNote = nullptr;    // whether the chooser lists the lesson
  QListWidget* previewList = nullptr;

 signals:
  // The teacher asked to see where a finding points; `column` is -1 for no one field.
  void jumpTo(std::size_t record, int column);
};

}  // namespace coursedesk
