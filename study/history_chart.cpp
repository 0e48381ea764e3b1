// SPDX-License-Identifier: MIT
#include "history_chart.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

#include "chart_parts.h"

namespace studydesk {
namespace {

QLineSeries* Series(const QString& name, const QColor& colour) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setColor(colour);
  series->setPointsVisible(true);
  series->setMarkerSize(kMarkerRadius);
  return series;
}

}  // namespace

QChartView* HistoryChart(const std::vector<study::RoundResult>& rounds, bool typing) {
  auto* chart = new QChart;
  const auto count = static_cast<double>(rounds.size());
  auto* order = CountAxis(count, false);
  order->setRange(0.5, std::max(count, 1.0) + 0.5);  // each round a whole slot, none at an edge
  order->setTitleText(QStringLiteral("第几次"));
  chart->addAxis(order, Qt::AlignBottom);
  auto* percent = PercentAxis();
  percent->setTitleText(typing ? QStringLiteral("正确率") : QStringLiteral("答对比例"));
  chart->addAxis(percent, Qt::AlignLeft);
  QLineSeries* share = Series(percent->titleText(), QColor(60, 140, 80));
  QLineSeries* speed =
      typing ? Series(QStringLiteral("速度（词/分钟）"), QColor(70, 110, 200)) : nullptr;
  double fastest = 0;
  for (std::size_t i = 0; i < rounds.size(); ++i) {
    const study::RoundResult& r = rounds[i];
    const double x = static_cast<double>(i + 1);
    if (typing) {
      share->append(x, 100.0 * r.accuracy.value_or(0));
      speed->append(x, r.wordsPerMinute.value_or(0));
      fastest = std::max(fastest, r.wordsPerMinute.value_or(0));
    } else {
      share->append(x, r.total > 0 ? 100.0 * r.right / r.total : 0);
    }
  }
  chart->addSeries(share);
  share->attachAxis(order);
  share->attachAxis(percent);
  if (speed) {
    auto* perMinute = CountAxis(fastest, true);
    perMinute->setTitleText(QStringLiteral("词/分钟"));
    chart->addAxis(perMinute, Qt::AlignRight);
    chart->addSeries(speed);
    speed->attachAxis(order);
    speed->attachAxis(perMinute);
  }
  if (rounds.empty()) MarkEmpty(chart);
  chart->legend()->setVisible(typing);
  chart->legend()->setAlignment(Qt::AlignBottom);
  QChartView* view =
      ChartView(chart, typing ? QStringLiteral("最近 %1 次打字的速度和正确率").arg(rounds.size())
                              : QStringLiteral("这一课最近 %1 次的成绩").arg(rounds.size()));
  view->setMinimumHeight(220);
  return view;
}

}  // namespace studydesk
