// SPDX-License-Identifier: MIT
// The learner's statistics as charts: answers per day, cards due per day, true retention
// per week, cards per state.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "progress_store.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
QT_END_NAMESPACE

namespace studydesk {

class StatisticsView : public QDialog {
  Q_OBJECT

 public:
  explicit StatisticsView(const study::Statistics& stats, QWidget* parent = nullptr);

  std::vector<QChartView*> charts;  // in reading order
};

}  // namespace studydesk
