// SPDX-License-Identifier: MIT
// A learner's past rounds of one activity as a chart: the share right per round, or for
// typing the speed and the accuracy.
#pragma once

#include <QChartView>
#include <vector>

#include "progress_store.h"

namespace studydesk {

// Oldest round first.
QChartView* HistoryChart(const std::vector<study::RoundResult>& rounds, bool typing);

}  // namespace studydesk
