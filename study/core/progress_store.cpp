// SPDX-License-Identifier: MIT
// The progress store: opening it, its cards, answers and undo.
#include "progress_store.h"

#include <algorithm>

#include "input_file.h"
#include "store_opening.h"
#include "store_schema.h"
#include "store_sql.h"

namespace study {

ProgressStore::ProgressStore(Database db, std::string path, bool readOnly, DayRule days,
                             std::string deviceId)
    : db_(std::make_unique<Database>(std::move(db))),
      path_(std::move(path)),
      readOnly_(readOnly),
      fsrs_(days),
      deviceId_(std::move(deviceId)) {}

ProgressStore::~ProgressStore() = default;

std::unique_ptr<ProgressStore> ProgressStore::Open(const std::string& path, Millis now,
                                                   OpenResult& result, StoreAccess access,
                                                   IntegrityCheck check) {
  result = {};
  if (const suite::FileStatus kind = suite::RefuseOtherKinds(path); !kind.ok()) {
    result.failure = {StoreFailure::Kind::CannotOpen, kind.reason, kind.error};
    return nullptr;
  }
  auto opened = OpenStoreFile(path, now, result, access, check);
  if (!opened) return nullptr;
  return std::unique_ptr<ProgressStore>(
      new ProgressStore(std::move(opened->db), path, opened->readOnly,
                        DayRule::Local(opened->dayStartMinutes), std::move(opened->deviceId)));
}

bool ProgressStore::checkIntegrity(Millis now, OpenResult& result) {
  result = {};
  const auto damage = DamageIn(*db_);
  if (!damage) {
    result.outcome = readOnly_ ? OpenResult::Outcome::ReadOnly : OpenResult::Outcome::Opened;
    return true;
  }
  // Only a program that may write keeps the file aside; it goes on with what was saved of it.
  const bool mayMove = !readOnly_;
  *db_ = Database();
  result.failure = *damage;
  if (auto fresh = mayMove ? ReplaceDamaged(path_, now, result) : std::nullopt) {
    *db_ = std::move(fresh->db);
    fsrs_ = Fsrs(DayRule::Local(fresh->dayStartMinutes));
    deviceId_ = std::move(fresh->deviceId);
    return false;
  }
  damaged_ = true;
  readOnly_ = true;
  return false;
}

bool ProgressStore::refusedReadOnly(StoreFailure& failure) const {
  if (damaged_) {
    failure = {StoreFailure::Kind::Damaged, "the store was found damaged"};
  } else if (readOnly_) {
    failure = {StoreFailure::Kind::ReadOnly, "the store is read-only"};
  }
  return readOnly_;
}

bool ProgressStore::setDayStart(int minutes, Millis now, StoreFailure& failure) {
  if (refusedReadOnly(failure)) return false;
  const bool kept =
      Transaction(*db_, failure, [&] { return WriteDayStart(*db_, minutes, now) == SQLITE_OK; });
  if (kept) fsrs_ = Fsrs(DayRule::Local(minutes));
  return kept;
}

std::vector<Card> ProgressStore::lessonCards(const std::string& lesson,
                                             const std::vector<EntryText>& entries, Millis now,
                                             StoreFailure& failure) {
  if (!readOnly_) {
    Transaction(*db_, failure, [&] {
      Statement insert(*db_,
                       "INSERT INTO cards(lesson, line1, line2, added, part)"
                       " VALUES(?1,?2,?3,?5,?4)"
                       " ON CONFLICT(lesson, line1, line2) DO UPDATE SET part = ?4"
                       " WHERE part <> ?4");
      for (const EntryText& entry : entries) {
        insert.bind(1, lesson).bind(2, entry.line1).bind(3, entry.line2);
        insert.bind(4, entry.partOfSpeech).bind(5, now);
        if (insert.step() != SQLITE_DONE) return false;
        insert.reset();
      }
      return true;
    });
  }
  std::vector<Card> cards;
  Statement find(*db_, std::string("SELECT c.id, ") + kStateColumns +
                           " FROM cards c LEFT JOIN card_state s ON s.card = c.id"
                           " WHERE c.lesson = ? AND c.line1 = ? AND c.line2 = ?");
  for (const EntryText& entry : entries) {
    Card card{0, lesson, entry.line1, entry.line2, {}, entry.partOfSpeech};
    find.bind(1, lesson).bind(2, entry.line1).bind(3, entry.line2);
    const int rc = find.step();
    if (rc == SQLITE_ROW) {
      card.id = find.integer(0);
      card.state = StateAt(find, 1);
    } else if (rc != SQLITE_DONE) {
      failure = FailureOf(*db_, rc);
    }
    find.reset();
    cards.push_back(std::move(card));
  }
  return cards;
}

std::optional<Card> ProgressStore::nextDue(Millis now, const std::vector<std::int64_t>& skip,
                                           StoreFailure& failure) {
  Statement next(*db_, std::string("SELECT c.id, c.lesson, c.line1, c.line2, c.part, ") +
                           kStateColumns +
                           " FROM card_state s JOIN cards c ON c.id = s.card"
                           " WHERE s.due < ? ORDER BY s.due, s.card LIMIT ?");
  next.bind(1, dayRule().startOf(dayRule().dayOf(now) + 1));
  // The cards to leave out are few: one more row than them always finds another card.
  next.bind(2, static_cast<std::int64_t>(skip.size()) + 1);
  int rc;
  while ((rc = next.step()) == SQLITE_ROW) {
    const std::int64_t id = next.integer(0);
    if (std::find(skip.begin(), skip.end(), id) != skip.end()) continue;
    return Card{id, next.text(1), next.text(2), next.text(3), StateAt(next, 5), next.text(4)};
  }
  if (rc != SQLITE_DONE) failure = FailureOf(*db_, rc);
  return std::nullopt;
}

DueSummary ProgressStore::dueSummary(Millis now, StoreFailure& failure) {
  DueSummary summary;
  const std::int64_t today = dayRule().dayOf(now);
  Statement counts(*db_,
                   "SELECT sum(due < ?1), sum(due >= ?1 AND due < ?2), min(due) FROM card_state");
  counts.bind(1, dayRule().startOf(today + 1)).bind(2, dayRule().startOf(today + 2));
  const int rc = counts.step();
  if (rc != SQLITE_ROW) {
    failure = FailureOf(*db_, rc);
    return summary;
  }
  summary.dueToday = static_cast<int>(counts.integer(0));
  summary.dueTomorrow = static_cast<int>(counts.integer(1));
  if (!counts.isNull(2)) summary.nextDue = counts.integer(2);
  return summary;
}

std::optional<CardState> ProgressStore::stateOf(std::int64_t card, StoreFailure& failure) {
  Statement find(*db_,
                 std::string("SELECT ") + kStateColumns + " FROM card_state s WHERE card = ?");
  find.bind(1, card);
  const int rc = find.step();
  if (rc == SQLITE_ROW) return StateAt(find, 0);
  if (rc == SQLITE_DONE) return CardState{};
  failure = FailureOf(*db_, rc);
  return std::nullopt;
}

bool ProgressStore::saveState(std::int64_t card, const CardState& state, StoreFailure& failure) {
  const int rc = SaveState(*db_, card, state);
  if (rc != SQLITE_OK) failure = FailureOf(*db_, rc);
  return rc == SQLITE_OK;
}

std::optional<Committed> ProgressStore::commit(const Answer& answer, StoreFailure& failure) {
  if (refusedReadOnly(failure)) return std::nullopt;
  Committed done;
  const bool ok = Transaction(*db_, failure, [&] {
    const auto before = stateOf(answer.card, failure);
    if (!before) return false;
    const Millis time = NotBefore(*before, answer.time);
    done.state = fsrs_.answer(*before, answer.grade, time);
    std::int64_t seq = 0;
    if (NextSeq(*db_, seq) != SQLITE_OK) return false;
    Statement insert(*db_,
                     "INSERT INTO answers(card, time, grade, activity, seconds, device, seq)"
                     " VALUES(?,?,?,?,?,?,?)");
    insert.bind(1, answer.card).bind(2, time);
    insert.bind(3, std::int64_t{static_cast<int>(answer.grade)});
    insert.bind(4, answer.activity).bind(5, answer.seconds).bind(6, deviceId_).bind(7, seq);
    if (insert.step() != SQLITE_DONE) return false;
    done.answerId = sqlite3_last_insert_rowid(db_->get());
    // Another device's answer at the same moment comes first or after by the devices' order,
    // as everywhere the two are replayed. Looked for among the card's answers (`+time`: many
    // answers of other cards may share the moment).
    Statement tie(
        *db_, "SELECT EXISTS(SELECT 1 FROM answers WHERE card = ? AND +time = ? AND device > ?)");
    tie.bind(1, answer.card).bind(2, time).bind(3, deviceId_);
    if (tie.step() != SQLITE_ROW) return false;
    if (tie.integer(0) == 0) return saveState(answer.card, done.state, failure);
    const int rc = RebuildState(*db_, fsrs_, answer.card);
    if (rc != SQLITE_OK) {
      failure = FailureOf(*db_, rc);
      return false;
    }
    const auto after = stateOf(answer.card, failure);
    if (after) done.state = *after;
    return after.has_value();
  });
  if (!ok) return std::nullopt;
  return done;
}

bool ProgressStore::undo(std::int64_t answerId, StoreFailure& failure) {
  if (refusedReadOnly(failure)) return false;
  return Transaction(*db_, failure, [&] {
    Statement card(*db_,
                   "SELECT a.card, (SELECT max(id) FROM answers b WHERE b.card = a.card),"
                   " a.device, a.seq, a.time FROM answers a WHERE a.id = ?");
    card.bind(1, answerId);
    if (card.step() != SQLITE_ROW || card.integer(1) != answerId) {
      failure = {StoreFailure::Kind::AnsweredSince,
                 "the answer is gone or no longer its card's last"};
      return false;
    }
    const std::int64_t cardId = card.integer(0);
    // The answer may have left the machine already: its withdrawal goes after it, and a copy
    // coming back is not taken in again.
    Statement withdraw(*db_, "INSERT OR IGNORE INTO withdrawals(device, seq, time) VALUES(?,?,?)");
    withdraw.bind(1, card.text(2)).bind(2, card.integer(3)).bind(3, card.integer(4));
    if (withdraw.step() != SQLITE_DONE) return false;
    Statement remove(*db_, "DELETE FROM answers WHERE id = ?");
    remove.bind(1, answerId);
    if (remove.step() != SQLITE_DONE) return false;
    const int rc = RebuildState(*db_, fsrs_, cardId);
    if (rc != SQLITE_OK) failure = FailureOf(*db_, rc);
    return rc == SQLITE_OK;
  });
}

std::vector<LogLine> ProgressStore::log(StoreFailure& failure) {
  std::vector<LogLine> lines;
  Statement rows(*db_, "SELECT card, time, grade FROM answers ORDER BY id");
  int rc;
  while ((rc = rows.step()) == SQLITE_ROW) {
    lines.push_back(
        {std::to_string(rows.integer(0)), rows.integer(1), static_cast<Grade>(rows.integer(2))});
  }
  if (rc != SQLITE_DONE) failure = FailureOf(*db_, rc);
  return lines;
}

}  // namespace study
