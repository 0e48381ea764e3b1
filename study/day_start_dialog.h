// SPDX-License-Identifier: MIT
// 复习回忆's settings: the hour at which the learner's day starts.
#pragma once

#include <QDialog>
#include <QTimeEdit>

namespace studydesk {

class DayStartDialog : public QDialog {
  Q_OBJECT

 public:
  DayStartDialog(int dayStartMinutes, QWidget* parent);

  // The day start chosen, in minutes after midnight.
  int dayStartMinutes() const;

  QTimeEdit* time = nullptr;
};

}  // namespace studydesk
