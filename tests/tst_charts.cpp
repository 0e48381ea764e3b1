// SPDX-License-Identifier: MIT
// The statistics and history charts as a learner reads them: the labels drawn on each
// axis, points inside the plot, "暂无数据" on an empty chart, every text drawn whole, and
// a statistics window that fits the screen it opens on. Run with screens of 1024×768 and
// 1600×1000, once at twice the scale.
#include <gtest/gtest.h>

#include <QAbstractSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QGuiApplication>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QPieSeries>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QValueAxis>
#include <QWidget>
#include <algorithm>

#include "history_chart.h"
#include "statistics_view.h"

// Labels in failure messages as the learner reads them.
QT_BEGIN_NAMESPACE
void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using studydesk::StatisticsView;

const std::int64_t kMonday = study::DayOf(*study::ParseIso("2026-01-05T08:00:00Z"));
constexpr int kDays = study::Statistics::kDays;
constexpr int kWeeks = study::Statistics::kWeeks;

enum Chart { kAnswers, kDue, kRemembered, kStages };

struct Drawn {
  QString text;
  QRectF place;  // in the chart's coordinates
};

// Every text the chart draws, with where it stands.
std::vector<Drawn> DrawnTexts(QChartView* view) {
  view->grab();  // lays the chart out as it is shown
  std::vector<Drawn> texts;
  for (QGraphicsItem* item : view->scene()->items()) {
    if (!item->isVisible()) continue;
    QString text;
    if (auto* rich = dynamic_cast<QGraphicsTextItem*>(item)) text = rich->toPlainText();
    if (auto* plain = dynamic_cast<QGraphicsSimpleTextItem*>(item)) text = plain->text();
    if (!text.isEmpty())
      texts.push_back(
          {text, view->chart()->mapFromScene(item->sceneBoundingRect()).boundingRect()});
  }
  return texts;
}

// The tick labels drawn beside the plot on one side, left to right or bottom to top:
// axis titles, the chart's title and the legend left out.
QStringList TickLabels(QChartView* view, Qt::Alignment side) {
  QChart* chart = view->chart();
  std::vector<Drawn> texts = DrawnTexts(view);
  QStringList titles = {chart->title()};
  for (QAbstractAxis* axis : chart->axes()) titles << axis->titleText();
  const QRectF plot = chart->plotArea();
  const auto beside = [&](const Drawn& d) {
    switch (side) {
      case Qt::AlignLeft:
        return d.place.right() <= plot.left() + 1;
      case Qt::AlignRight:
        return d.place.left() >= plot.right() - 1;
      default:
        return d.place.top() >= plot.bottom() - 1;
    }
  };
  std::erase_if(texts, [&](const Drawn& d) {
    return !beside(d) || titles.contains(d.text) || d.place.intersects(chart->legend()->geometry());
  });
  const bool vertical = side != Qt::AlignBottom;
  std::sort(texts.begin(), texts.end(), [vertical](const Drawn& a, const Drawn& b) {
    return vertical ? a.place.center().y() > b.place.center().y()
                    : a.place.center().x() < b.place.center().x();
  });
  QStringList labels;
  for (const Drawn& d : texts) labels << d.text;
  return labels;
}

bool SaysNoData(QChartView* view) {
  const std::vector<Drawn> texts = DrawnTexts(view);
  const QRectF plot = view->chart()->plotArea();
  return std::any_of(texts.begin(), texts.end(), [&](const Drawn& d) {
    return d.text == "暂无数据" && plot.contains(d.place);
  });
}

// Every point of every line drawn, its dot whole, inside the plot.
void ExpectPointsInside(QChartView* view) {
  QChart* chart = view->chart();
  DrawnTexts(view);
  const QRectF plot = chart->plotArea();
  for (QAbstractSeries* series : chart->series()) {
    auto* line = qobject_cast<QLineSeries*>(series);
    if (!line) continue;
    const qreal room = line->markerSize() + 1;  // a radius, and the pen around it
    for (const QPointF& point : line->points()) {
      const QPointF at = chart->mapToPosition(point, line);
      EXPECT_TRUE(plot.adjusted(room, room, -room, -room).contains(at))
          << line->name().toStdString() << " (" << point.x() << ", " << point.y() << ") at "
          << at.x() << "," << at.y();
    }
  }
}

void ExpectAllTextWhole(QChartView* view) {
  for (const Drawn& d : DrawnTexts(view)) {
    EXPECT_FALSE(d.text.contains(u'…') || d.text.contains(u'⋮') || d.text.contains("..."))
        << view->accessibleName().toStdString() << ": " << d.text.toStdString();
  }
}

// No light line up from the pie's centre to 12 o'clock, where the slices begin.
void ExpectNoSeam(QChartView* view) {
  const QImage drawn = view->grab().toImage();
  QChart* chart = view->chart();
  const QRectF plot = chart->plotArea();
  const QPoint centre = view->mapFromScene(chart->mapToScene(plot.center()));
  const qreal radius = 0.7 * std::min(plot.width(), plot.height()) / 2;  // the pie's own size
  const qreal ratio = drawn.devicePixelRatio();
  for (int up = 2; up < radius * 0.9; ++up) {
    for (const int across : {-1, 0, 1}) {
      const QPoint at((centre.x() + across) * ratio, (centre.y() - up) * ratio);
      ASSERT_LT(qGray(drawn.pixel(at)), 220) << up << " above the centre, " << across << " across";
    }
  }
}

QValueAxis* ValueAxis(QChartView* view, Qt::Alignment side) {
  for (QAbstractAxis* axis : view->chart()->axes()) {
    if (axis->alignment() == side) return qobject_cast<QValueAxis*>(axis);
  }
  return nullptr;
}

// A learner's last months: a few hundred answers over 60 days, reviews mostly remembered.
study::Statistics Busy() {
  study::Statistics stats;
  stats.today = kMonday;
  for (int day = 0; day < kDays; ++day) stats.answersPerDay.push_back((day * 7) % 23);
  for (int day = 0; day < kDays; ++day) stats.duePerDay.push_back(day == 0 ? 34 : (day * 5) % 13);
  for (int week = 0; week < kWeeks; ++week) {
    const bool reviewed = week >= 4;
    stats.reviewAnswersPerWeek.push_back(reviewed ? 40 + week : 0);
    stats.recalledPerWeek.push_back(!reviewed ? 0 : week == kWeeks - 1 ? 40 + week : 30 + week);
  }
  stats.unlearned = 240;
  stats.relearning = 18;
  stats.young = 130;
  stats.mature = 42;
  return stats;
}

study::Statistics Empty() {
  study::Statistics stats;
  stats.today = kMonday;
  stats.answersPerDay.assign(kDays, 0);
  stats.duePerDay.assign(kDays, 0);
  stats.reviewAnswersPerWeek.assign(kWeeks, 0);
  stats.recalledPerWeek.assign(kWeeks, 0);
  return stats;
}

TEST(Charts, CountsAreLabelledOnceEachAtWholeNumbersAndDaysByTheirDates) {
  const struct {
    int highest;
    QStringList counts;
  } cases[] = {
      {1, {"0", "1"}},
      {2, {"0", "1", "2"}},
      {3, {"0", "1", "2", "3"}},
      {7, {"0", "2", "4", "6", "8"}},
      {34, {"0", "10", "20", "30", "40"}},
  };
  for (const auto& c : cases) {
    study::Statistics stats = Empty();
    stats.answersPerDay[3] = c.highest;
    stats.duePerDay[kDays - 1] = c.highest;
    StatisticsView view(stats);
    for (const Chart chart : {kAnswers, kDue}) {
      QChartView* shown = view.charts[chart];
      EXPECT_EQ(TickLabels(shown, Qt::AlignLeft), c.counts) << c.highest;
      const QValueAxis* counts = ValueAxis(shown, Qt::AlignLeft);
      ASSERT_NE(counts, nullptr);
      EXPECT_EQ(counts->min(), 0);
      EXPECT_EQ(counts->max(), c.counts.back().toInt()) << "the top bar ends on a tick";
      EXPECT_FALSE(SaysNoData(shown));
    }
  }
  StatisticsView view(Busy());
  EXPECT_EQ(TickLabels(view.charts[kAnswers], Qt::AlignBottom),
            QStringList({"12/11", "12/16", "12/21", "12/26", "12/31", "今天"}));
  EXPECT_EQ(TickLabels(view.charts[kDue], Qt::AlignBottom),
            QStringList({"今天", "1/10", "1/15", "1/20", "1/25", "1/30"}));
  const auto* bars = qobject_cast<QBarSeries*>(view.charts[kAnswers]->chart()->series().at(0));
  ASSERT_NE(bars, nullptr);
  EXPECT_EQ(bars->barSets().at(0)->at(kDays - 1), Busy().answersPerDay.back()) << "today, right";
}

TEST(Charts, RememberedIsAShareOfReviewsPerSevenDaysWithEveryPointInside) {
  StatisticsView view(Busy());
  QChartView* shown = view.charts[kRemembered];
  EXPECT_EQ(TickLabels(shown, Qt::AlignLeft),
            QStringList({"0%", "20%", "40%", "60%", "80%", "100%"}));
  EXPECT_EQ(TickLabels(shown, Qt::AlignBottom),
            QStringList({"10/21", "11/4", "11/18", "12/2", "12/16", "12/30"}))
      << "each point named by the first of its 7 days, the last holding today";
  const auto* line = qobject_cast<QLineSeries*>(shown->chart()->series().at(0));
  ASSERT_NE(line, nullptr);
  ASSERT_EQ(line->count(), 8) << "no point for the weeks without reviews";
  EXPECT_DOUBLE_EQ(line->at(0).y(), 100.0 * 34 / 44);
  EXPECT_DOUBLE_EQ(line->at(7).y(), 100.0) << "every review of this week remembered";
  ExpectPointsInside(shown);
  EXPECT_FALSE(SaysNoData(shown));
}

TEST(Charts, StagesShowOnlyTheStagesThatHaveCardsWithoutASeam) {
  const struct {
    int relearning;
    int mature;
    QStringList slices;
  } cases[] = {
      {18, 42, {"还没学过：240 条", "答错了在重学：18 条", "刚记住：130 条", "记牢了：42 条"}},
      {0, 0, {"还没学过：240 条", "刚记住：130 条"}},
  };
  for (const auto& c : cases) {
    study::Statistics stats = Busy();
    stats.relearning = c.relearning;
    stats.mature = c.mature;
    StatisticsView view(stats);
    QChartView* shown = view.charts[kStages];
    const auto* pie = qobject_cast<QPieSeries*>(shown->chart()->series().at(0));
    ASSERT_NE(pie, nullptr);
    QStringList slices;
    for (QPieSlice* slice : pie->slices()) {
      slices << slice->label();
      EXPECT_EQ(slice->borderColor(), slice->color()) << "no light edge between slices";
    }
    EXPECT_EQ(slices, c.slices) << "a slice of nothing draws its edge from the centre";
    ExpectNoSeam(shown);
    ExpectAllTextWhole(shown);
    EXPECT_FALSE(SaysNoData(shown));
  }
}

TEST(Charts, EachEmptyChartSaysSo) {
  StatisticsView view(Empty());
  for (QChartView* shown : view.charts) {
    EXPECT_TRUE(SaysNoData(shown)) << shown->accessibleName().toStdString();
  }
  EXPECT_EQ(TickLabels(view.charts[kAnswers], Qt::AlignLeft), QStringList({"0", "1"}));
  EXPECT_EQ(qobject_cast<QPieSeries*>(view.charts[kStages]->chart()->series().at(0))->count(), 0);
  for (const bool typing : {false, true}) {
    std::unique_ptr<QChartView> history(studydesk::HistoryChart({}, typing, study::DayRule::Utc()));
    EXPECT_TRUE(SaysNoData(history.get())) << typing;
  }
}

TEST(Charts, OneWeekOfReviewsIsOnePointInside) {
  study::Statistics stats = Empty();
  stats.reviewAnswersPerWeek.back() = 3;
  stats.recalledPerWeek.back() = 0;
  StatisticsView view(stats);
  ASSERT_EQ(qobject_cast<QLineSeries*>(view.charts[kRemembered]->chart()->series().at(0))->count(),
            1);
  ExpectPointsInside(view.charts[kRemembered]);
}

// A round on day `day` after Monday 5 January 2026 (UTC).
study::RoundResult Round(int right, int total, std::optional<double> speed = {},
                         std::optional<double> accuracy = {}, int day = 0) {
  study::RoundResult round;
  round.time = *study::ParseIso("2026-01-05T08:00:00Z") + day * study::kMillisPerDay;
  round.right = right;
  round.total = total;
  round.wordsPerMinute = speed;
  round.accuracy = accuracy;
  return round;
}

// Thirty rounds, one a day from Monday on.
std::vector<study::RoundResult> Daily() {
  std::vector<study::RoundResult> rounds;
  for (int day = 0; day < 30; ++day) rounds.push_back(Round(day % 6, 5, {}, {}, day));
  return rounds;
}

TEST(Charts, HistoryNamesEachRoundByItsDateWithEveryPointInside) {
  const struct {
    std::vector<study::RoundResult> rounds;
    bool typing;
    QStringList dates;
    QStringList speed;
  } cases[] = {
      {{Round(13, 13)}, false, {"1/5"}, {}},
      {{Round(0, 5, {}, {}, 0), Round(3, 5, {}, {}, 1), Round(5, 5, {}, {}, 30)},
       false,
       {"1/5", "1/6", "2/4"},
       {}},
      // Rounds of one day: their date once, under the last of them.
      {std::vector<study::RoundResult>(7, Round(4, 6)), false, {"1/5"}, {}},
      {{Round(1, 5, {}, {}, 0), Round(2, 5, {}, {}, 0), Round(3, 5, {}, {}, 2)},
       false,
       {"1/5", "1/7"},
       {}},
      // Thirty days: every fifth date, the newest among them.
      {Daily(), false, {"1/9", "1/14", "1/19", "1/24", "1/29", "2/3"}, {}},
      {{Round(0, 0, 23.5, 1.0)}, true, {"1/5"}, {"0", "5", "10", "15", "20", "25"}},
      {{Round(0, 0, 12, 0.9, 0), Round(0, 0, 41, 0.5, 1)},
       true,
       {"1/5", "1/6"},
       {"0", "10", "20", "30", "40", "50"}},
  };
  for (const auto& c : cases) {
    std::unique_ptr<QChartView> shown(
        studydesk::HistoryChart(c.rounds, c.typing, study::DayRule::Utc()));
    shown->resize(480, shown->minimumHeight());  // as small as an end page may make it
    EXPECT_EQ(TickLabels(shown.get(), Qt::AlignBottom), c.dates) << c.rounds.size();
    EXPECT_EQ(TickLabels(shown.get(), Qt::AlignLeft),
              QStringList({"0%", "20%", "40%", "60%", "80%", "100%"}));
    EXPECT_EQ(TickLabels(shown.get(), Qt::AlignRight), c.speed);
    ExpectPointsInside(shown.get());
    ExpectAllTextWhole(shown.get());
    EXPECT_FALSE(SaysNoData(shown.get()));
  }
}

TEST(Charts, TheStatisticsWindowFitsTheScreenOfItsParentCentredAndScrollsInside) {
  ASSERT_EQ(QGuiApplication::screens().size(), 2) << "a screen of 1024×768 and a larger one";
  for (QScreen* screen : QGuiApplication::screens()) {
    QWidget parent;
    parent.setScreen(screen);
    parent.move(screen->geometry().topLeft());
    parent.show();
    StatisticsView view(Busy(), &parent);
    view.show();
    QCoreApplication::processEvents();
    const QRect area = screen->availableGeometry();
    EXPECT_TRUE(area.contains(view.frameGeometry())) << screen->name().toStdString();
    EXPECT_LE((view.frameGeometry().center() - area.center()).manhattanLength(), 2);
    const QWidget* content = view.scroll->widget();
    EXPECT_LE(content->width(), view.scroll->viewport()->width()) << "never sideways";
    for (QChartView* shown : view.charts) {
      EXPECT_GE(shown->width(), shown->minimumWidth());
      EXPECT_GE(shown->height(), shown->minimumHeight());
      ExpectAllTextWhole(shown);
    }
  }
}

}  // namespace
