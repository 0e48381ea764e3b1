// SPDX-License-Identifier: MIT
// A learner's past rounds of one activity as a chart: the share right per round, or for
// typing the speed and the accuracy, each round under the date it was done on.
#pragma once

#include <QChartView>
#include <vector>

#include "learner_day.h"
#include "round_session.h"

namespace studydesk {

// Oldest round first; `days` gives the learner's day of each round's time.
QChartView* HistoryChart(const std::vector<study::RoundResult>& rounds, bool typing,
                         const study::DayRule& days);

}  // namespace studydesk
