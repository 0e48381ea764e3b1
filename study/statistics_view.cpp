// SPDX-License-Identifier: MIT
#include "statistics_view.h"

#include <QBarCategoryAxis>
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

// "12/7" for a UTC day number.
QString DayLabel(std::int64_t day) {
  const study::Millis at = day * study::kMillisPerDay;
  const std::string iso = study::FormatIso(at);
  return QStringLiteral("%1/%2").arg(std::stoi(iso.substr(5, 2))).arg(std::stoi(iso.substr(8, 2)));
}

QChartView* View(QChart* chart, const QString& name) {
  chart->setTitle(name);
  chart->legend()->setVisible(false);
  auto* view = new QChartView(chart);
  view->setRenderHint(QPainter::Antialiasing);
  view->setAccessibleName(name);
  view->setMinimumSize(420, 260);
  return view;
}

QChartView* Bars(const QString& name, const std::vector<int>& values, std::int64_t firstDay,
                 const QString& valueTitle) {
  auto* set = new QBarSet(valueTitle);
  set->setColor(kBars);
  QStringList labels;
  int highest = 1;
  for (std::size_t i = 0; i < values.size(); ++i) {
    *set << values[i];
    highest = std::max(highest, values[i]);
    // Every fifth day is named; the others stay blank but distinct.
    labels << (i % 5 == 0 ? DayLabel(firstDay + static_cast<std::int64_t>(i))
                          : QString(static_cast<int>(i % 5), QChar(' ')));
  }
  auto* series = new QBarSeries;
  series->append(set);
  auto* chart = new QChart;
  chart->addSeries(series);
  auto* days = new QBarCategoryAxis;
  days->append(labels);
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
                                           {QStringLiteral("短期（间隔不到 21 天）"), stats.young},
                                           {QStringLiteral("长期（21 天及以上）"), stats.mature}};
  const QColor colours[] = {QColor(170, 170, 170), QColor(210, 80, 60), QColor(90, 160, 220),
                            QColor(60, 140, 80)};
  for (std::size_t i = 0; i < std::size(parts); ++i) {
    auto* slice = series->append(QStringLiteral("%1 %2").arg(parts[i].first).arg(parts[i].second),
                                 parts[i].second);
    slice->setColor(colours[i]);
  }
  auto* chart = new QChart;
  chart->addSeries(series);
  QChartView* view = View(chart, QStringLiteral("词条状态"));
  chart->legend()->setVisible(true);
  chart->legend()->setAlignment(Qt::AlignRight);
  return view;
}

}  // namespace

StatisticsView::StatisticsView(const study::Statistics& stats, std::int64_t today, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("学习统计"));
  charts = {
      Bars(QStringLiteral("近 30 天每天的回答数"), stats.answersPerDay,
           today - study::Statistics::kDays + 1, QStringLiteral("回答数")),
      Bars(QStringLiteral("未来 30 天每天到期的词条"), stats.duePerDay, today,
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
