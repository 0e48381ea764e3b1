// SPDX-License-Identifier: MIT
#include "chart_parts.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QGraphicsSimpleTextItem>
#include <QValueAxis>
#include <cmath>

#include "count_scale.h"

namespace studydesk {

QChartView* ChartView(QChart* chart, const QString& title) {
  chart->setTitle(title);
  auto* view = new QChartView(chart);
  view->setRenderHint(QPainter::Antialiasing);
  view->setAccessibleName(title);
  return view;
}

QValueAxis* CountAxis(double highest, bool pointRoom) {
  const study::CountScale scale = study::ScaleForCounts(static_cast<int>(std::ceil(highest)));
  const auto top = static_cast<double>(scale.top);
  auto* axis = new QValueAxis;
  axis->setRange(0, pointRoom ? top * (1 + kPointRoom) : top);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(static_cast<double>(scale.step));
  axis->setLabelFormat(QStringLiteral("%d"));
  return axis;
}

QValueAxis* PercentAxis() {
  auto* axis = new QValueAxis;
  axis->setRange(-100 * kPointRoom, 100 * (1 + kPointRoom));
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(20);
  axis->setLabelFormat(QStringLiteral("%d%%"));
  return axis;
}

QCategoryAxis* DayAxis(QDate first, int count, int daysPerSlot, int every, QDate today) {
  auto* axis = new QCategoryAxis;
  axis->setRange(-0.5, count - 0.5);
  axis->setStartValue(-0.5);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  const auto todays = static_cast<int>(first.daysTo(today) / daysPerSlot);
  for (int slot = (todays % every + every) % every; slot < count; slot += every) {
    const QDate day = first.addDays(static_cast<qint64>(slot) * daysPerSlot);
    axis->append(day == today ? QStringLiteral("今天") : day.toString(QStringLiteral("M/d")), slot);
  }
  return axis;
}

QDate DateOfDay(std::int64_t day) {
  return QDate(1970, 1, 1).addDays(day);
}

void MarkEmpty(QChart* chart) {
  auto* note = new QGraphicsSimpleTextItem(QStringLiteral("暂无数据"), chart);
  QFont font = note->font();
  font.setPointSizeF(font.pointSizeF() * 1.5);
  note->setFont(font);
  note->setBrush(QColor(120, 120, 120));
  QObject::connect(chart, &QChart::plotAreaChanged, chart, [note](const QRectF& plot) {
    note->setPos(plot.center() - note->boundingRect().center());
  });
}

}  // namespace studydesk
