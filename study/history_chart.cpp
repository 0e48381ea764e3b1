// SPDX-License-Identifier: MIT
#include "history_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

#include "chart_parts.h"

namespace studydesk {
namespace {

const QColor kShare(40, 120, 60);
const QColor kSpeed(60, 100, 190);
// At most this many dates stand under the rounds, so that none runs into the next.
constexpr int kMostDates = 7;

// Round i (1 … n) at i, the newest labelled with its date ("12/7"), then earlier ones
// far enough apart, each date once.
QCategoryAxis* RoundAxis(const std::vector<study::RoundResult>& rounds,
                         const study::DayRule& days) {
  auto* axis = new QCategoryAxis;
  const auto count = static_cast<int>(rounds.size());
  axis->setRange(0.5, std::max(count, 1) + 0.5);  // each round a whole slot, none at an edge
  axis->setStartValue(0.5);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  const int gap = (count + kMostDates - 1) / kMostDates;
  std::vector<std::pair<QString, int>> labels;  // newest first
  for (int round = count; round >= 1; --round) {
    const QDate date = DateOfDay(days.dayOf(rounds[static_cast<std::size_t>(round - 1)].time));
    const QString label = date.toString(QStringLiteral("M/d"));
    const bool tooNear = !labels.empty() && labels.back().second - round < gap;
    const bool named = std::any_of(labels.begin(), labels.end(),
                                   [&](const auto& labelled) { return labelled.first == label; });
    if (!tooNear && !named) labels.emplace_back(label, round);
  }
  // The axis takes its labels in the order of their places.
  for (auto labelled = labels.rbegin(); labelled != labels.rend(); ++labelled) {
    axis->append(labelled->first, labelled->second);
  }
  return axis;
}

// A line of one value per round, round 1 at 1, on `values`; its axis's labels take its
// colour, so that no axis title need be read sideways.
void AddLine(QChart* chart, const QString& name, const QColor& colour,
             const std::vector<double>& perRound, QValueAxis* values, Qt::Alignment side) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setColor(colour);
  series->setPointsVisible(true);
  series->setMarkerSize(kMarkerRadius);
  for (std::size_t i = 0; i < perRound.size(); ++i) {
    series->append(static_cast<double>(i + 1), perRound[i]);
  }
  values->setLabelsColor(colour);
  chart->addAxis(values, side);
  chart->addSeries(series);
  series->attachAxis(chart->axes(Qt::Horizontal).first());
  series->attachAxis(values);
}

}  // namespace

QChartView* HistoryChart(const std::vector<study::RoundResult>& rounds, bool typing,
                         const study::DayRule& days) {
  auto* chart = new QChart;
  QCategoryAxis* order = RoundAxis(rounds, days);
  order->setTitleText(QStringLiteral("日期"));
  chart->addAxis(order, Qt::AlignBottom);

  std::vector<double> shares;
  std::vector<double> speeds;
  double fastest = 0;
  for (const study::RoundResult& r : rounds) {
    const double right = typing        ? r.accuracy.value_or(0)
                         : r.total > 0 ? 1.0 * r.right / r.total
                                       : 0;
    shares.push_back(100 * right);
    speeds.push_back(r.wordsPerMinute.value_or(0));
    fastest = std::max(fastest, speeds.back());
  }
  AddLine(chart, QStringLiteral("正确率"), kShare, shares, PercentAxis(), Qt::AlignLeft);
  if (typing) {
    QValueAxis* perMinute = CountAxis(fastest, true);
    perMinute->setGridLineVisible(false);  // one grid, the left axis's
    AddLine(chart, QStringLiteral("速度（词/分钟）"), kSpeed, speeds, perMinute, Qt::AlignRight);
  }
  if (rounds.empty()) MarkEmpty(chart);
  chart->legend()->setVisible(typing);
  chart->legend()->setAlignment(Qt::AlignBottom);
  QChartView* view =
      ChartView(chart, typing ? QStringLiteral("最近 %1 次打字的速度和正确率").arg(rounds.size())
                              : QStringLiteral("这一课最近 %1 次答对的比例").arg(rounds.size()));
  view->setMinimumHeight(typing ? 280 : 240);
  return view;
}

}  // namespace studydesk
