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
  // `today` is the UTC day the statistics were taken on.
  StatisticsView(const study::Statistics& stats, std::int64_t today, QWidget* parent = nullptr);

  std::vector<QChartView*> charts;  // in reading order
};

}  // namespace studydesk
