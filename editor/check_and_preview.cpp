// SPDX-License-Identifier: MIT
#include "check_and_preview.h"

#include <QTabBar>
#include <QVBoxLayout>

#include "lesson_name.h"
#include "lesson_preview.h"

namespace coursedesk {
namespace {

constexpr int kColumnRole = Qt::UserRole + 1;

QWidget* Page(QWidget* top, QWidget* bottom, int topStretch, QWidget* parent) {
  auto* page = new QWidget(parent);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(top, topStretch);
  layout->addWidget(bottom);
  return page;
}

}  // namespace

CheckAndPreview::CheckAndPreview(QWidget* parent)
    : QTabWidget(parent),
      findingList(new QListWidget(this)),
      findingDetail(new QLabel(this)),
      previewNote(new QLabel(this)),
      previewList(new QListWidget(this)) {
  setAccessibleName(QStringLiteral("检查与预览"));
  tabBar()->setAccessibleName(QStringLiteral("检查与预览的页"));
  findingList->setAccessibleName(QStringLiteral("检查结果"));
  // Each finding wrapped to the list's width, whole; laid out in batches so that thousands
  // of findings stay quick to show.
  findingList->setWordWrap(true);
  findingList->setResizeMode(QListView::Adjust);
  findingList->setLayoutMode(QListView::Batched);
  findingList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  findingDetail->setWordWrap(true);
  previewNote->setWordWrap(true);
  previewList->setAccessibleName(QStringLiteral("选课程序中这一课的样子"));
  addTab(Page(findingList, findingDetail, 1, this), QStringLiteral("检查"));
  addTab(Page(previewNote, previewList, 0, this), QStringLiteral("选课预览"));

  connect(findingList, &QListWidget::currentTextChanged, findingDetail, &QLabel::setText);
  connect(findingList, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const QVariant record = item->data(Qt::UserRole);
    if (record.isValid()) emit jumpTo(record.toULongLong(), item->data(kColumnRole).toInt());
  });
}

void CheckAndPreview::showFindings(const std::vector<editor::PlacedFinding>& findings) {
  findingList->clear();
  for (const auto& finding : findings) {
    auto* item = new QListWidgetItem(QString::fromStdU16String(finding.text), findingList);
    item->setData(Qt::UserRole, static_cast<qulonglong>(finding.record));
    item->setData(kColumnRole, finding.column);
  }
  if (findings.empty())
    findingList->addItem(QStringLiteral("没有发现问题：选课程序和各学习程序都能用这一册。"));
}

void CheckAndPreview::showPreview(const editor::Book& book, const editor::LessonRun* lesson) {
  previewList->clear();
  if (!lesson) {
    previewNote->setText(QStringLiteral("没有选中的课。"));
    return;
  }
  const auto preview = editor::PreviewLesson(book, lesson->name);
  const QString label = QString::fromStdU16String(editor::LessonLabel(*lesson));
  previewNote->setText(preview.listed ? QStringLiteral("保存后，选课程序这样显示“%1”：").arg(label)
                                      : QStringLiteral("选课程序不会列出“%1”。").arg(label));
  for (const auto& line : preview.lines) previewList->addItem(QString::fromStdU16String(line));
}

void CheckAndPreview::focusFindings() {
  setCurrentIndex(0);
  findingList->setFocus();
}

void CheckAndPreview::focusPreview() {
  setCurrentIndex(1);
  previewList->setFocus();
}

}  // namespace coursedesk
