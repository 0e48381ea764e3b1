// SPDX-License-Identifier: MIT
#include "day_start_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace studydesk {

DayStartDialog::DayStartDialog(int dayStartMinutes, QWidget* parent)
    : QDialog(parent), time(new QTimeEdit(QTime(0, 0).addSecs(dayStartMinutes * 60))) {
  setWindowTitle(QStringLiteral("复习设置"));
  auto* text = new QLabel(QStringLiteral(
      "新的一天从几点开始（按本机时间）：在这以前学的都算前一天，如熬夜学习。默认 04:00。"));
  text->setWordWrap(true);
  text->setBuddy(time);
  time->setDisplayFormat(QStringLiteral("HH:mm"));
  time->setAccessibleName(QStringLiteral("新的一天开始的时间"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(time);
  layout->addWidget(buttons);
  time->setFocus();
}

int DayStartDialog::dayStartMinutes() const {
  return time->time().hour() * 60 + time->time().minute();
}

}  // namespace studydesk
