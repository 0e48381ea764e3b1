// SPDX-License-Identifier: MIT
// The progress store's finished rounds of dictation, listening and typing.
#include "progress_store.h"
#include "store_schema.h"
#include "store_sql.h"

namespace study {

RoundResult RoundResultRow(const Statement& row, int first) {
  RoundResult r{row.integer(first),
                row.text(first + 1),
                row.text(first + 2),
                static_cast<int>(row.integer(first + 3)),
                static_cast<int>(row.integer(first + 4)),
                row.real(first + 5),
                {},
                {}};
  if (!row.isNull(first + 6)) r.wordsPerMinute = row.real(first + 6);
  if (!row.isNull(first + 7)) r.accuracy = row.real(first + 7);
  return r;
}

namespace {

constexpr const char* kResultColumns =
    "time, activity, lesson, right, total, seconds, wpm, accuracy";

std::vector<RoundResult> ReadResults(Statement& rows, const Database& db, StoreFailure& failure) {
  std::vector<RoundResult> results;
  int rc;
  while ((rc = rows.step()) == SQLITE_ROW) {
    results.push_back(RoundResultRow(rows, 0));
  }
  if (rc != SQLITE_DONE) failure = FailureOf(db, rc);
  return results;
}

}  // namespace

bool ProgressStore::saveResult(const RoundResult& r, StoreFailure& failure) {
  if (refusedReadOnly(failure)) return false;
  return Transaction(*db_, failure, [&] {
    std::int64_t seq = 0;
    if (NextSeq(*db_, seq) != SQLITE_OK) return false;
    Statement insert(*db_, std::string("INSERT INTO results(") + kResultColumns +
                               ", device, seq) VALUES(?,?,?,?,?,?,?,?,?,?)");
    insert.bind(1, r.time).bind(2, r.activity).bind(3, r.lesson);
    insert.bind(4, std::int64_t{r.right}).bind(5, std::int64_t{r.total}).bind(6, r.seconds);
    if (r.wordsPerMinute) insert.bind(7, *r.wordsPerMinute);
    if (r.accuracy) insert.bind(8, *r.accuracy);
    insert.bind(9, deviceId_).bind(10, seq);
    return insert.step() == SQLITE_DONE;
  });
}

std::vector<RoundResult> ProgressStore::results(StoreFailure& failure) {
  Statement rows(*db_, std::string("SELECT ") + kResultColumns + " FROM results ORDER BY time, id");
  return ReadResults(rows, *db_, failure);
}

std::vector<RoundResult> ProgressStore::recentResults(const std::string& activity,
                                                      const std::string& lesson, int count,
                                                      StoreFailure& failure) {
  Statement rows(*db_, std::string("SELECT * FROM (SELECT ") + kResultColumns +
                           ", id FROM results WHERE activity = ?1 AND (?2 = '' OR lesson = ?2)"
                           " ORDER BY time DESC, id DESC LIMIT ?3) ORDER BY time, id");
  rows.bind(1, activity).bind(2, lesson).bind(3, std::int64_t{count});
  return ReadResults(rows, *db_, failure);
}

}  // namespace study
