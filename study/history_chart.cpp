// SPDX-License-Identifier: MIT
#include "history_chart.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace studydesk {
namespace {

QLineSeries* Series(const QString& name, const QColor& colour) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setColor(colour);
  series->setPointsVisible(true);
  series->setMarkerSize(8);  // a first round alone is a point, and must be seen
  return series;
}

QValueAxis* Axis(const QString& title, double high, const QString& format) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setRange(0, high);
  axis->setLabelFormat(format);
  return axis;
}

}  // namespace

QChartView* HistoryChart(const std::vector<study::RoundResult>& rounds, bool typing) {
  auto* chart = new QChart;
  auto* order =
      Axis(QStringLiteral("第几次"), std::max<double>(2, rounds.size()), QStringLiteral("%d"));
  chart->addAxis(order, Qt::AlignBottom);
  auto* percent = Axis(typing ? QStringLiteral("正确率") : QStringLiteral("答对比例"), 100,
                       QStringLiteral("%d%%"));
  chart->addAxis(percent, Qt::AlignLeft);
  QLineSeries* share = Series(percent->titleText(), QColor(60, 140, 80));
  QLineSeries* speed = typing ? Series(QStringLiteral("速度"), QColor(70, 110, 200)) : nullptr;
  double fastest = 10;
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
    auto* perMinute = Axis(QStringLiteral("词/分钟"), fastest * 1.2, QStringLiteral("%d"));
    chart->addAxis(perMinute, Qt::AlignRight);
    chart->addSeries(speed);
    speed->attachAxis(order);
    speed->attachAxis(perMinute);
  }
  const QString title = typing ? QStringLiteral("最近 %1 次打字的速度和正确率").arg(rounds.size())
                               : QStringLiteral("这一课最近 %1 次的成绩").arg(rounds.size());
  chart->setTitle(title);
  chart->legend()->setVisible(typing);
  auto* view = new QChartView(chart);
  view->setRenderHint(QPainter::Antialiasing);
  view->setAccessibleName(title);
  view->setMinimumHeight(200);
  return view;
}

}  // namespace studydesk
