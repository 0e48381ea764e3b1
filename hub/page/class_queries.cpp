// SPDX-License-Identifier: MIT
#include "class_queries.h"

#include <algorithm>

#include "pg_array.h"

namespace hub::page {
namespace {

// A class's answers that still count.
constexpr const char* kCountedAnswers =
    "SELECT a.* FROM answers a JOIN learners l ON l.id = a.learner_id"
    " WHERE l.class_id = $1 AND NOT EXISTS (SELECT 1 FROM withdrawals w"
    "  WHERE w.learner_id = a.learner_id AND w.device = a.device AND w.seq = a.seq)";

// Whether card s is due now, given the latest answer time at which each grade is ($2).
constexpr const char* kDueNow =
    "s.latest_time <= ($2::bigint[])[least(greatest(s.latest_grade, 1), 4)]";

std::vector<Learner> ReadLearners(Database& database, std::int64_t classId) {
  const Rows rows = database.run("SELECT id, number, name FROM learners WHERE class_id = $1",
                                 {std::to_string(classId)});
  std::vector<Learner> learners;
  for (int row = 0; row < rows.size(); ++row) {
    learners.push_back({rows.integer(row, 0), rows.text(row, 1), rows.text(row, 2)});
  }
  std::sort(learners.begin(), learners.end(),
            [](const Learner& a, const Learner& b) { return NaturalLess(a.number, b.number); });
  return learners;
}

std::optional<RoundResult> Round(const Rows& rows, int row, int from) {
  if (rows.isNull(row, from)) return std::nullopt;
  RoundResult result{rows.integer(row, from), static_cast<int>(rows.integer(row, from + 1)),
                     static_cast<int>(rows.integer(row, from + 2)), std::nullopt, std::nullopt};
  if (!rows.isNull(row, from + 3)) result.wordsPerMinute = rows.real(row, from + 3);
  if (!rows.isNull(row, from + 4)) result.accuracy = rows.real(row, from + 4);
  return result;
}

}  // namespace

std::vector<ClassLink> TeacherClasses(Database& database, std::int64_t teacher) {
  const Rows rows = database.run(
      "SELECT c.id, c.name FROM classes c JOIN teacher_classes t ON t.class_id = c.id"
      " WHERE t.teacher_id = $1",
      {std::to_string(teacher)});
  std::vector<ClassLink> classes;
  for (int row = 0; row < rows.size(); ++row) {
    classes.push_back({rows.integer(row, 0), rows.text(row, 1)});
  }
  std::sort(classes.begin(), classes.end(),
            [](const ClassLink& a, const ClassLink& b) { return NaturalLess(a.name, b.name); });
  return classes;
}

std::optional<ClassLink> TeachersClass(Database& database, std::int64_t teacher,
                                       std::int64_t classId) {
  const Rows rows = database.run(
      "SELECT c.id, c.name FROM classes c JOIN teacher_classes t ON t.class_id = c.id"
      " WHERE t.teacher_id = $1 AND c.id = $2",
      {std::to_string(teacher), std::to_string(classId)});
  if (rows.size() == 0) return std::nullopt;
  return ClassLink{rows.integer(0, 0), rows.text(0, 1)};
}

Grid ReadGrid(Database& database, std::int64_t classId, const std::vector<BookLesson>& handedOut,
              Millis now) {
  Grid grid;
  grid.learners = ReadLearners(database, classId);
  std::vector<std::string_view> names;
  std::vector<std::string_view> entryLessons;
  std::vector<std::string_view> lines1;
  std::vector<std::string_view> lines2;
  for (const BookLesson& lesson : handedOut) {
    names.push_back(lesson.name);
    grid.lessons.push_back({lesson.name, static_cast<std::int64_t>(lesson.entries.size())});
    for (const BookEntry& entry : lesson.entries) {
      entryLessons.push_back(lesson.name);
      lines1.push_back(entry.line1);
      lines2.push_back(entry.line2);
    }
  }
  const std::string cutoffs = IntegerArray(DueCutoffs(now));
  std::vector<GridLesson> answeredOnly;
  // Both counts from one snapshot: the second is taken off the first.
  database.transaction([&] {
    database.run("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY");
    // Each learner's latest answer to each card, kept by the database as answers come.
    const std::string cells =
        std::string("SELECT s.learner_id, s.lesson, count(*), count(*) FILTER (WHERE ") + kDueNow +
        "), max(s.latest_time)"
        " FROM card_states s JOIN learners l ON l.id = s.learner_id WHERE l.class_id = $1"
        " GROUP BY s.learner_id, s.lesson";
    const Rows rows = database.run(cells.c_str(), {std::to_string(classId), cutoffs});
    for (int row = 0; row < rows.size(); ++row) {
      grid.cells[{rows.integer(row, 0), rows.text(row, 1)}] = {
          rows.integer(row, 2), rows.integer(row, 3), rows.integer(row, 4)};
    }
    // The cards that are no entry of a handed-out lesson: those of a handed-out lesson, counted
    // per learner, are taken off the cells above (the latest time studied stays the lesson's);
    // the other lessons' entries are the distinct cards anyone of the class answered. One scan
    // of the cards with both lists hashed; the cells above are counted in parallel without them.
    const std::string notEntries =
        std::string(
            "WITH outside AS MATERIALIZED (SELECT s.learner_id, s.lesson, s.line1, s.line2, ") +
        kDueNow +
        " AS due, s.lesson IN (SELECT unnest($3::text[])) AS handed_out"
        "  FROM card_states s JOIN learners l ON l.id = s.learner_id WHERE l.class_id = $1"
        "  AND (s.lesson NOT IN (SELECT unnest($3::text[])) OR (s.lesson, s.line1, s.line2)"
        "  NOT IN (SELECT * FROM unnest($4::text[], $5::text[], $6::text[]))))"
        " SELECT learner_id, lesson, count(*), count(*) FILTER (WHERE due) FROM outside"
        "  WHERE handed_out GROUP BY learner_id, lesson"
        " UNION ALL SELECT NULL, lesson, count(DISTINCT (line1, line2)), 0 FROM outside"
        "  WHERE NOT handed_out GROUP BY lesson";
    const Rows outside = database.run(
        notEntries.c_str(), {std::to_string(classId), cutoffs, TextArray(names),
                             TextArray(entryLessons), TextArray(lines1), TextArray(lines2)});
    for (int row = 0; row < outside.size(); ++row) {
      if (outside.isNull(row, 0)) {
        answeredOnly.push_back({outside.text(row, 1), outside.integer(row, 2)});
        continue;
      }
      GridCell& cell = grid.cells[{outside.integer(row, 0), outside.text(row, 1)}];
      cell.learned -= outside.integer(row, 2);
      cell.due -= outside.integer(row, 3);
    }
  });
  std::sort(answeredOnly.begin(), answeredOnly.end(),
            [](const GridLesson& a, const GridLesson& b) { return NaturalLess(a.name, b.name); });
  grid.lessons.insert(grid.lessons.end(), answeredOnly.begin(), answeredOnly.end());
  return grid;
}

std::vector<WeekRow> ReadWeek(Database& database, std::int64_t classId, Millis weekStart) {
  const std::vector<Millis> days = DayStarts(weekStart);
  const std::string sql = std::string(
                              "SELECT learner_id, sum(seconds), count(*),"
                              " count(DISTINCT width_bucket(time, $2::bigint[])) FROM (") +
                          kCountedAnswers +
                          ") c WHERE time >= $3 AND time < $4 GROUP BY learner_id";
  const Rows answers =
      database.run(sql.c_str(), {std::to_string(classId), IntegerArray(days),
                                 std::to_string(days.front()), std::to_string(days.back())});
  // The latest dictation and typing round of the week, each learner's.
  const Rows rounds = database.run(
      "SELECT DISTINCT ON (r.learner_id, r.activity) r.learner_id, r.activity, r.time,"
      " r.right_count, r.total, r.words_per_minute, r.accuracy"
      " FROM results r JOIN learners l ON l.id = r.learner_id"
      " WHERE l.class_id = $1 AND r.activity IN ('dictation', 'typing')"
      " AND r.time >= $2 AND r.time < $3"
      " ORDER BY r.learner_id, r.activity, r.time DESC, r.seq DESC",
      {std::to_string(classId), std::to_string(days.front()), std::to_string(days.back())});
  std::vector<WeekRow> week;
  for (Learner& learner : ReadLearners(database, classId)) {
    WeekRow row;
    row.learner = std::move(learner);
    for (int i = 0; i < answers.size(); ++i) {
      if (answers.integer(i, 0) != row.learner.id) continue;
      row.seconds = answers.real(i, 1);
      row.answers = answers.integer(i, 2);
      row.daysActive = static_cast<int>(answers.integer(i, 3));
    }
    for (int i = 0; i < rounds.size(); ++i) {
      if (rounds.integer(i, 0) != row.learner.id) continue;
      (rounds.text(i, 1) == "typing" ? row.typing : row.dictation) = Round(rounds, i, 2);
    }
    week.push_back(std::move(row));
  }
  return week;
}

std::vector<HardEntry> ReadHardest(Database& database, std::int64_t classId, Millis weekStart) {
  const std::string sql =
      std::string("SELECT lesson, line1, line2, count(*), count(DISTINCT learner_id) FROM (") +
      kCountedAnswers +
      ") c WHERE grade = 1 AND time >= $2 AND time < $3 GROUP BY lesson, line1, line2"
      " ORDER BY count(*) DESC, count(DISTINCT learner_id) DESC, lesson, line1, line2"
      " LIMIT $4";
  const std::vector<Millis> days = DayStarts(weekStart);
  const Rows rows =
      database.run(sql.c_str(), {std::to_string(classId), std::to_string(days.front()),
                                 std::to_string(days.back()), std::to_string(kHardestShown)});
  std::vector<HardEntry> entries;
  for (int row = 0; row < rows.size(); ++row) {
    entries.push_back({rows.text(row, 0), rows.text(row, 1), rows.text(row, 2),
                       rows.integer(row, 3), rows.integer(row, 4)});
  }
  return entries;
}

std::vector<Miss> ReadWhoMissed(Database& database, std::int64_t classId, Millis weekStart,
                                const HardEntry& entry) {
  const std::vector<Millis> days = DayStarts(weekStart);
  const std::string sql =
      std::string("SELECT learner_id, count(*) FROM (") + kCountedAnswers +
      ") c WHERE grade = 1 AND time >= $2 AND time < $3 AND lesson = $4 AND line1 = $5"
      " AND line2 = $6 GROUP BY learner_id";
  const Rows rows = database.run(
      sql.c_str(), {std::to_string(classId), std::to_string(days.front()),
                    std::to_string(days.back()), entry.lesson, entry.line1, entry.line2});
  std::vector<Miss> who;
  for (Learner& learner : ReadLearners(database, classId)) {
    for (int row = 0; row < rows.size(); ++row) {
      if (rows.integer(row, 0) == learner.id) who.push_back({learner, rows.integer(row, 1)});
    }
  }
  std::stable_sort(who.begin(), who.end(),
                   [](const Miss& a, const Miss& b) { return a.misses > b.misses; });
  return who;
}

int ReadGoal(Database& database, std::int64_t classId) {
  const Rows rows = database.run("SELECT minutes FROM class_goals WHERE class_id = $1",
                                 {std::to_string(classId)});
  return rows.size() == 0 ? 0 : static_cast<int>(rows.integer(0, 0));
}

void WriteGoal(Database& database, std::int64_t classId, int minutes) {
  database.run(
      "INSERT INTO class_goals (class_id, minutes) VALUES ($1, $2) ON CONFLICT (class_id)"
      " DO UPDATE SET minutes = EXCLUDED.minutes, changed = now()",
      {std::to_string(classId), std::to_string(minutes)});
}

}  // namespace hub::page
