// SPDX-License-Identifier: MIT
// The progress store's statistics: the log rows and due moments they are counted from.
#include "progress_store.h"
#include "store_sql.h"

namespace study {

Statistics ProgressStore::statistics(Millis now, StoreFailure& failure) {
  const auto record = [&](Statement& query, const auto& use) {
    int rc;
    while ((rc = query.step()) == SQLITE_ROW) use(query);
    if (rc != SQLITE_DONE) failure = FailureOf(*db_, rc);
  };
  std::vector<AnswerRow> answers;
  Statement recent(*db_,
                   "SELECT a.time, a.grade, (SELECT b.time FROM answers b WHERE b.card = a.card"
                   " AND b.id < a.id ORDER BY b.id DESC LIMIT 1) FROM answers a WHERE a.time >= ?");
  recent.bind(1, StatisticsSince(now, dayRule()));
  record(recent, [&](Statement& row) {
    answers.push_back({row.integer(0), static_cast<int>(row.integer(1)),
                       row.isNull(2) ? std::nullopt : std::optional<Millis>(row.integer(2))});
  });
  std::vector<Millis> dues;
  Statement due(*db_, "SELECT due FROM card_state WHERE due < ?");
  due.bind(1, StatisticsDueUntil(now, dayRule()));
  record(due, [&](Statement& row) { dues.push_back(row.integer(0)); });
  Statistics stats = CountStatistics(answers, dues, now, dayRule());

  Statement states(*db_,
                   "SELECT sum(s.card IS NULL), sum(s.last_grade = 1),"
                   " sum(s.last_grade > 1 AND s.interval_days < 21),"
                   " sum(s.last_grade > 1 AND s.interval_days >= 21)"
                   " FROM cards c LEFT JOIN card_state s ON s.card = c.id");
  record(states, [&](Statement& row) {
    stats.unlearned = static_cast<int>(row.integer(0));
    stats.relearning = static_cast<int>(row.integer(1));
    stats.young = static_cast<int>(row.integer(2));
    stats.mature = static_cast<int>(row.integer(3));
  });
  return stats;
}

}  // namespace study
