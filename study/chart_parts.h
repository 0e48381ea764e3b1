// SPDX-License-Identifier: MIT
// What the study charts share so that each reads the same way: the view, whole-number axes
// for counts, 0–100 % for shares, days named by their dates, and "暂无数据" on an empty chart.
#pragma once

#include <QChartView>
#include <QDate>
#include <QString>

#include "utc_time.h"

QT_BEGIN_NAMESPACE
class QCategoryAxis;
class QChart;
class QValueAxis;
QT_END_NAMESPACE

namespace studydesk {

// Lines show each value as a dot of this radius (Qt draws the marker size as the radius), so
// that a value alone is seen.
inline constexpr qreal kMarkerRadius = 4;
// Values drawn as dots stand this share of the axis clear of the plot's edges, so that a
// dot at 0 %, 100 % or the highest count is drawn whole.
inline constexpr double kPointRoom = 0.08;

// A view of `chart` under `title`, which also names it for screen readers.
QChartView* ChartView(QChart* chart, const QString& title);

// Counts from 0 up to `highest`, ticks at whole round numbers; `pointRoom` leaves room
// above the top tick for markers.
QValueAxis* CountAxis(double highest, bool pointRoom);
// 0 % to 100 % every 20 %, with room for markers at both ends.
QValueAxis* PercentAxis();

// Slot i (0 … count − 1) on the axis holds the `daysPerSlot` days from `first` +
// i × `daysPerSlot`. Every `every`-th slot, counted from the one holding `today`, is
// labelled with its first day ("12/7"), or "今天" when that is today.
QCategoryAxis* DayAxis(QDate first, int count, int daysPerSlot, int every, QDate today);

// The calendar date of a day number (a learner's day), counted from 1970-01-01.
QDate DateOfDay(std::int64_t day);

// Says "暂无数据" in the middle of the plot.
void MarkEmpty(QChart* chart);

}  // namespace studydesk
