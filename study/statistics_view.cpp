// SPDX-License-Identifier: MIT
#include "statistics_view.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QLineSeries>
#include <QPieSeries>
#include <QValueAxis>
#include <algorithm>

namespace studydesk {
namespace {

const QColor kBars(70, 110, 200);
const QColor kLine(220, 120, 40);

QChartView* View(QChart* chart, const QString& name) {
  chart->setTitle(name);
  chart->legend()->setVisible(false);
  auto* view = new QChartView(chart);
  view->setRenderHint(QPainter::Antialiasing);
  view->setAccessibleName(name);
  view->setMinimumSize(420, 260);
  return view;
}

// One bar a day; bar i is day i counted from today, back in time when `past`.
QChartView* Bars(const QString& name, const std::vector<int>& daysFromToday, bool past,
                 const QString& valueTitle) {
  auto* set = new QBarSet(valueTitle);
  set->setColor(kBars);
  int highest = 1;
  for (const int value : daysFromToday) {
    *set << value;
    highest = std::max(highest, value);
  }
  auto* series = new QBarSeries;
  series->append(set);
  series->setBarWidth(0.8);
  auto* chart = new QChart;
  chart->addSeries(series);
  auto* days = new QValueAxis;
  days->setRange(-0.5, static_cast<double>(daysFromToday.size()) - 0.5);
  days->setTickType(QValueAxis::TicksDynamic);
  days->setTickAnchor(0);
  days->setTickInterval(5);
  days->setLabelFormat(QStringLiteral("%d"));
  days->setReverse(past);  // today on the right
  days->setTitleText(past ? QStringLiteral("几天前（0 为今天）")
                          : QStringLiteral("几天后（0 为今天）"));
  chart->addAxis(days, Qt::AlignBottom);
  series->attachAxis(days);
  auto* counts = new QValueAxis;
  counts->setRange(0, highest);
  counts->setLabelFormat(QStringLiteral("%d"));
  counts->setTitleText(valueTitle);
  chart->addAxis(counts, Qt::AlignLeft);
  series->attachAxis(counts);
  return View(chart, name);
}

QChartView* Retention(const study::Statistics& stats) {
  auto* series = new QLineSeries;
  series->setColor(kLine);
  series->setPointsVisible(true);
  series->setMarkerSize(8);  // a week alone is a point, and must be seen
  for (int week = 0; week < study::Statistics::kWeeks; ++week) {
    const int reviews = stats.reviewAnswersPerWeek[static_cast<std::size_t>(week)];
    if (reviews == 0) continue;  // a week without reviews has no retention to show
    series->append(week - study::Statistics::kWeeks + 1,
                   100.0 * stats.recalledPerWeek[static_cast<std::size_t>(week)] / reviews);
  }
  auto* chart = new QChart;
  chart->addSeries(series);
  auto* weeks = new QValueAxis;
  weeks->setRange(1 - study::Statistics::kWeeks, 0);
  weeks->setTickCount(study::Statistics::kWeeks);
  weeks->setLabelFormat(QStringLiteral("%d"));
  weeks->setTitleText(QStringLiteral("周（0 为本周）"));
  auto* percent = new QValueAxis;
  percent->setRange(0, 100);
  percent->setLabelFormat(QStringLiteral("%d%%"));
  chart->addAxis(weeks, Qt::AlignBottom);
  chart->addAxis(percent, Qt::AlignLeft);
  series->attachAxis(weeks);
  series->attachAxis(percent);
  return View(chart, QStringLiteral("每周真实保持率（复习时答 2 及以上的比例）"));
}

QChartView* States(const study::Statistics& stats) {
  auto* series = new QPieSeries;
  const std::pair<QString, int> parts[] = {{QStringLiteral("未学"), stats.unlearned},
                                           {QStringLiteral("重学中"), stats.relearning},
                                           {QStringLiteral("短期"), stats.young},
                                           {QStringLiteral("长期"), stats.mature}};
  const QColor colours[] = {QColor(170, 170, 170), QColor(210, 80, 60), QColor(90, 160, 220),
                            QColor(60, 140, 80)};
  for (std::size_t i = 0; i < std::size(parts); ++i) {
    auto* slice = series->append(QStringLiteral("%1 %2").arg(parts[i].first).arg(parts[i].second),
                                 parts[i].second);
    slice->setColor(colours[i]);
  }
  auto* chart = new QChart;
  chart->addSeries(series);
  QChartView* view =
      View(chart, QStringLiteral("词条状态（短期：间隔不到 21 天；长期：21 天以上）"));
  chart->legend()->setVisible(true);
  chart->legend()->setAlignment(Qt::AlignRight);
  return view;
}

}  // namespace

StatisticsView::StatisticsView(const study::Statistics& stats, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("学习统计"));
  const std::vector<int> backwards(stats.answersPerDay.rbegin(), stats.answersPerDay.rend());
  charts = {
      Bars(QStringLiteral("近 30 天每天的回答数"), backwards, true, QStringLiteral("回答数")),
      Bars(QStringLiteral("未来 30 天每天到期的词条"), stats.duePerDay, false,
           QStringLiteral("词条数")),
      Retention(stats),
      States(stats),
  };
  auto* grid = new QGridLayout(this);
  for (std::size_t i = 0; i < charts.size(); ++i) {
    grid->addWidget(charts[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
  }
}

}  // namespace studydesk
