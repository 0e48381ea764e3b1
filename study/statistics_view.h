// SPDX-License-Identifier: MIT
// The learner's statistics as charts: answers per day, cards due per day, the share of
// reviews remembered per week, cards per stage. The charts scroll inside a window that
// fits the screen.
#pragma once

#include <QDialog>
#include <vector>

#include "statistics.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QScrollArea;
QT_END_NAMESPACE

namespace studydesk {

class StatisticsView : public QDialog {
  Q_OBJECT

 public:
  // Each count under the date of the learner's day `stats` gives it. The window opens
  // centred on the screen of `parent`.
  StatisticsView(const study::Statistics& stats, QWidget* parent = nullptr);

  std::vector<QChartView*> charts;  // in reading order
  QScrollArea* scroll;
};

}  // namespace studydesk
