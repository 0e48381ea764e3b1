// SPDX-License-Identifier: MIT
#include "statistics_view.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLegend>
#include <QLineSeries>
#include <QPieSeries>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "chart_parts.h"

namespace studydesk {
namespace {

const QColor kBars(70, 110, 200);
const QColor kLine(220, 120, 40);
const QSize kChartSize(440, 300);
// What the window manager adds around the window, before it has told us.
const QSize kFrameRoom(16, 48);

// One bar a day, the first on `first`.
QChartView* Bars(const QString& title, const std::vector<int>& perDay, QDate first, QDate today) {
  auto* set = new QBarSet(title);
  set->setColor(kBars);
  set->setBorderColor(kBars);
  for (const int value : perDay) *set << value;
  auto* series = new QBarSeries;
  series->append(set);
  series->setBarWidth(0.8);
  auto* chart = new QChart;
  chart->addSeries(series);
  auto* days = DayAxis(first, static_cast<int>(perDay.size()), 1, 5, today);
  chart->addAxis(days, Qt::AlignBottom);
  series->attachAxis(days);
  const int highest = perDay.empty() ? 0 : *std::max_element(perDay.begin(), perDay.end());
  auto* counts = CountAxis(highest, false);
  chart->addAxis(counts, Qt::AlignLeft);
  series->attachAxis(counts);
  if (highest == 0) MarkEmpty(chart);
  chart->legend()->setVisible(false);
  return ChartView(chart, title);
}

// One point per week, oldest first; a span without reviews has no point.
QChartView* Remembered(const study::Statistics& stats, QDate today) {
  auto* series = new QLineSeries;
  series->setColor(kLine);
  series->setPointsVisible(true);
  series->setMarkerSize(kMarkerRadius);
  constexpr int kWeeks = study::Statistics::kWeeks;
  for (int week = 0; week < kWeeks; ++week) {
    const auto at = static_cast<std::size_t>(week);
    const int reviews = stats.reviewAnswersPerWeek[at];
    if (reviews > 0) series->append(week, 100.0 * stats.recalledPerWeek[at] / reviews);
  }
  auto* chart = new QChart;
  chart->addSeries(series);
  constexpr int kWeekDays = study::Statistics::kWeekDays;
  auto* weeks = DayAxis(DateOfDay(stats.weekStart(0)), kWeeks, kWeekDays, 2, today);
  weeks->setTitleText(QStringLiteral("每个点代表 %1 天，日期是其中第一天").arg(kWeekDays));
  chart->addAxis(weeks, Qt::AlignBottom);
  series->attachAxis(weeks);
  auto* percent = PercentAxis();
  chart->addAxis(percent, Qt::AlignLeft);
  series->attachAxis(percent);
  if (series->count() == 0) MarkEmpty(chart);
  chart->legend()->setVisible(false);
  return ChartView(chart, QStringLiteral("每周复习时记得的比例"));
}

QChartView* Stages(const study::Statistics& stats) {
  const struct {
    const char16_t* name;
    int cards;
    QColor colour;
  } stages[] = {
      {u"还没学过", stats.unlearned, QColor(170, 170, 170)},
      {u"答错了在重学", stats.relearning, QColor(210, 80, 60)},
      {u"刚记住", stats.young, QColor(90, 160, 220)},
      {u"记牢了", stats.mature, QColor(60, 140, 80)},
  };
  auto* series = new QPieSeries;
  for (const auto& stage : stages) {
    // A slice of nothing would still draw its edge: a seam at 12 o'clock.
    if (stage.cards == 0) continue;
    QPieSlice* slice = series->append(
        QStringLiteral("%1：%2 条").arg(QString::fromUtf16(stage.name)).arg(stage.cards),
        stage.cards);
    slice->setColor(stage.colour);
    slice->setBorderColor(stage.colour);
  }
  auto* chart = new QChart;
  chart->addSeries(series);
  if (series->count() == 0) MarkEmpty(chart);
  chart->legend()->setAlignment(Qt::AlignRight);
  return ChartView(chart, QStringLiteral("词条的掌握情况（隔 %1 天以上再复习的算记牢）")
                              .arg(study::Statistics::kMatureDays));
}

}  // namespace

StatisticsView::StatisticsView(const study::Statistics& stats, QWidget* parent)
    : QDialog(parent), scroll(new QScrollArea) {
  setWindowTitle(QStringLiteral("学习统计"));
  const QDate today = DateOfDay(stats.today);
  charts = {
      Bars(QStringLiteral("最近 %1 天每天答了多少次").arg(study::Statistics::kDays),
           stats.answersPerDay, DateOfDay(stats.answerDay(0)), today),
      Bars(QStringLiteral("今后 %1 天每天要复习多少条").arg(study::Statistics::kDays),
           stats.duePerDay, DateOfDay(stats.dueDay(0)), today),
      Remembered(stats, today),
      Stages(stats),
  };

  // The charts scroll inside a window no larger than the screen, up and down only where
  // the screen holds one chart's width.
  auto* content = new QWidget;
  auto* grid = new QGridLayout(content);
  scroll->setWidget(content);
  scroll->setWidgetResizable(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll);
  const QMargins outer = layout->contentsMargins();
  const QSize around(outer.left() + outer.right() + 2 * scroll->frameWidth() +
                         style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                     outer.top() + outer.bottom() + 2 * scroll->frameWidth());

  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  const QSize room = area.size() - kFrameRoom - around;
  // Two charts a row where they fit side by side, else one under the other.
  const QMargins inner = grid->contentsMargins();
  const int twoWide =
      inner.left() + inner.right() + 2 * kChartSize.width() + grid->horizontalSpacing();
  const int columns = twoWide <= room.width() ? 2 : 1;
  for (std::size_t i = 0; i < charts.size(); ++i) {
    charts[i]->setMinimumSize(kChartSize);
    grid->addWidget(charts[i], static_cast<int>(i) / columns, static_cast<int>(i) % columns);
  }
  const QSize fits = content->minimumSizeHint().boundedTo(room) + around;
  resize(fits);
  move(area.center() - QPoint(fits.width() / 2, fits.height() / 2));
}

}  // namespace studydesk
