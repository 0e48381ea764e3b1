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
  Statement recent(*db_, "SELECT card, time, grade FROM answers WHERE time >= ? ORDER BY time, id");
  recent.bind(1, StatisticsSince(now, dayRule()));
  record(recent, [&](Statement& row) {
    answers.push_back({row.integer(0), row.integer(1), static_cast<int>(row.integer(2))});
  });
  // A card's state counts its answers.
  std::unordered_map<std::int64_t, int> answersPerCard;
  Statement counts(*db_, "SELECT card, reps FROM card_state");
  record(counts, [&](Statement& row) {
    answersPerCard[row.integer(0)] = static_cast<int>(row.integer(1));
  });
  std::vector<Millis> dues;
  Statement due(*db_, "SELECT due FROM card_state WHERE due < ?");
  due.bind(1, StatisticsDueUntil(now, dayRule()));
  record(due, [&](Statement& row) { dues.push_back(row.integer(0)); });
  Statistics stats = CountStatistics(answers, answersPerCard, dues, now, dayRule());

  Statement states(*db_,
                   "SELECT sum(s.card IS NULL), sum(s.last_grade = 1),"
                   " sum(s.last_grade > 1 AND s.interval_days < ?1),"
                   " sum(s.last_grade > 1 AND s.interval_days >= ?1)"
                   " FROM cards c LEFT JOIN card_state s ON s.card = c.id");
  states.bind(1, std::int64_t{Statistics::kMatureDays});
  record(states, [&](Statement& row) {
    stats.unlearned = static_cast<int>(row.integer(0));
    stats.relearning = static_cast<int>(row.integer(1));
    stats.young = static_cast<int>(row.integer(2));
    stats.mature = static_cast<int>(row.integer(3));
  });
  return stats;
}

}  // namespace study
