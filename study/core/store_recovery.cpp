// SPDX-License-Identifier: MIT
#include "store_recovery.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "answer_log.h"
#include "raw_pages.h"
#include "store_schema.h"
#include "store_sql.h"

namespace study {
namespace {

using Type = RawValue::Type;

bool Is(const RawValue& value, Type type) {
  return value.type == type;
}

bool IsNumber(const RawValue& value) {
  return Is(value, Type::Integer) || Is(value, Type::Real);
}

double Number(const RawValue& value) {
  return Is(value, Type::Real) ? value.real : static_cast<double>(value.integer);
}

bool IsNumberOrNull(const RawValue& value) {
  return IsNumber(value) || Is(value, Type::Null);
}

// The rows by their tables' columns (an INTEGER PRIMARY KEY is kept as NULL in the row);
// SQLite may keep a REAL that is a whole number as an integer.
// A row's identity, the last two columns from version 6 on (rows older than that lack
// them): device, seq.
bool HasIdentity(const std::vector<RawValue>& v, std::size_t columns) {
  return v.size() == columns + 2 && Is(v[columns], Type::Text) && Is(v[columns + 1], Type::Integer);
}

// A row written without a number (given one when the store is opened) has an empty device
// and no number.
bool IsRowOf(const std::vector<RawValue>& v, std::size_t columns) {
  return v.size() == columns || HasIdentity(v, columns) ||
         (v.size() == columns + 2 && Is(v[columns], Type::Text) && Is(v[columns + 1], Type::Null));
}

// answers: id, card, time, grade, activity, seconds.
bool IsAnswer(const RawRecord& r) {
  const auto& v = r.values;
  return r.tableRow && r.rowid > 0 && IsRowOf(v, 6) && Is(v[0], Type::Null) &&
         Is(v[1], Type::Integer) && Is(v[2], Type::Integer) && Is(v[3], Type::Integer) &&
         v[3].integer >= 1 && v[3].integer <= 4 && Is(v[4], Type::Text) && IsNumber(v[5]);
}

// cards: id, lesson, line1, line2, added, and from version 4 on part (rows older than that
// lack it).
bool IsCard(const RawRecord& r) {
  const auto& v = r.values;
  return r.tableRow && (v.size() == 5 || (v.size() == 6 && Is(v[5], Type::Text))) &&
         Is(v[0], Type::Null) && Is(v[1], Type::Text) && Is(v[2], Type::Text) &&
         Is(v[3], Type::Text) && Is(v[4], Type::Integer);
}

// results: id, time, activity, lesson, right, total, seconds, wpm, accuracy.
bool IsResult(const RawRecord& r) {
  const auto& v = r.values;
  return r.tableRow && IsRowOf(v, 9) && Is(v[0], Type::Null) && Is(v[1], Type::Integer) &&
         Is(v[2], Type::Text) && Is(v[3], Type::Text) && Is(v[4], Type::Integer) &&
         Is(v[5], Type::Integer) && IsNumber(v[6]) && IsNumberOrNull(v[7]) && IsNumberOrNull(v[8]);
}

// Binds a row's identity, or NULLs for a row kept before identities (given one afterwards).
void BindIdentity(Statement& insert, int first, const std::vector<RawValue>& v,
                  std::size_t columns) {
  if (!HasIdentity(v, columns)) return;
  insert.bind(first, v[columns].text).bind(first + 1, v[columns + 1].integer);
}

// settings: name, value.
bool IsSetting(const RawRecord& r) {
  return r.tableRow && r.values.size() == 2 && Is(r.values[0], Type::Text) &&
         Is(r.values[1], Type::Text);
}

// An entry of the answers' index by card, (card, id) and the row's id again: it tells of an
// answer whose row may be lost.
bool IsAnswerByCard(const RawRecord& r) {
  const auto& v = r.values;
  return !r.tableRow && v.size() == 3 && Is(v[0], Type::Integer) && Is(v[1], Type::Integer) &&
         Is(v[2], Type::Integer) && v[1].integer == v[2].integer;
}

// The pages of the answers' two indexes, by the schema's roots (nothing when the schema
// cannot be read).
std::set<std::uint32_t> AnswerIndexPages(const RawContents& contents) {
  std::set<std::uint32_t> pages;
  for (const RawRecord& r : contents.records) {
    // The schema's rows: type, name, table, root page, SQL.
    const auto& v = r.values;
    if (!r.tableRow || v.size() != 5 || !Is(v[1], Type::Text) || !Is(v[3], Type::Integer) ||
        (v[1].text != "answers_by_card" && v[1].text != "answers_by_time")) {
      continue;
    }
    const auto tree = contents.treeAt(static_cast<std::uint32_t>(v[3].integer));
    pages.insert(tree.begin(), tree.end());
  }
  return pages;
}

struct Found {
  std::map<std::int64_t, const RawRecord*> cards, answers, results, settings;
  std::set<std::int64_t> answerIds;  // every answer known to have been kept
  std::int64_t gaps = 0;             // and those missing between them
};

// Each answer is known by its row and by its entries in the two indexes, so that one lost
// page never hides an answer from the count. Answers are numbered from 1; a zero is a cell
// cut short.
Found Sort(const RawContents& contents) {
  Found found;
  const std::set<std::uint32_t> indexPages = AnswerIndexPages(contents);
  for (const RawRecord& r : contents.records) {
    if (IsAnswer(r)) {
      found.answers.emplace(r.rowid, &r);
      found.answerIds.insert(r.rowid);
    } else if (IsCard(r)) {
      found.cards.emplace(r.rowid, &r);
    } else if (IsResult(r)) {
      found.results.emplace(r.rowid, &r);
    } else if (IsSetting(r)) {
      found.settings.emplace(r.rowid, &r);
    } else if (!r.tableRow && r.values.size() >= 2 && Is(r.values[1], Type::Integer) &&
               r.values[1].integer > 0 && (indexPages.count(r.page) != 0 || IsAnswerByCard(r))) {
      found.answerIds.insert(r.values[1].integer);
    }
  }
  // Answers are numbered one after another, so numbers missing between two known ones are
  // answers lost with pages of every kind (or, rarely, taken back out of turn); a gap wider
  // than any damage could make is a number misread.
  constexpr std::int64_t kWidestGap = 100'000;
  std::int64_t before = 0;
  for (const std::int64_t id : found.answerIds) {
    if (id - before > 1 && id - before <= kWidestGap) found.gaps += id - before - 1;
    before = id;
  }
  return found;
}

// Each statement runs once per row, bound afresh.
bool Done(Statement& statement) {
  const bool done = statement.step() == SQLITE_DONE;
  statement.reset();
  return done;
}

bool CopyRows(const Database& db, const Found& found, std::set<std::int64_t>& cards,
              std::map<std::int64_t, int>& answers) {
  // Later rows of a setting replaced earlier ones.
  Statement setting(db, "INSERT OR REPLACE INTO settings(name, value) VALUES(?, ?)");
  for (const auto& [rowid, r] : found.settings) {
    setting.bind(1, r->values[0].text).bind(2, r->values[1].text);
    if (!Done(setting)) return false;
  }
  Statement card(db,
                 "INSERT OR IGNORE INTO cards(id, lesson, line1, line2, added, part)"
                 " VALUES(?,?,?,?,?,?)");
  for (const auto& [id, r] : found.cards) {
    const auto& v = r->values;
    card.bind(1, id).bind(2, v[1].text).bind(3, v[2].text).bind(4, v[3].text);
    card.bind(5, v[4].integer).bind(6, v.size() == 6 ? v[5].text : std::string());
    if (!Done(card)) return false;
    if (sqlite3_changes(db.get()) == 1) cards.insert(id);
  }
  Statement answer(db,
                   "INSERT INTO answers(id, card, time, grade, activity, seconds, device, seq)"
                   " VALUES(?,?,?,?,?,?,coalesce(?7, ''),?8) ON CONFLICT DO NOTHING");
  for (const auto& [id, r] : found.answers) {
    const auto& v = r->values;
    if (cards.count(v[1].integer) == 0) continue;
    answer.bind(1, id).bind(2, v[1].integer).bind(3, v[2].integer).bind(4, v[3].integer);
    answer.bind(5, v[4].text).bind(6, Number(v[5]));
    BindIdentity(answer, 7, v, 6);
    if (!Done(answer)) return false;
    // A row found twice, a stale copy left on a free page among them, is kept once.
    if (sqlite3_changes(db.get()) == 1) ++answers[v[1].integer];
  }
  Statement round(db,
                  "INSERT INTO results(id, time, activity, lesson, right, total, seconds, wpm,"
                  " accuracy, device, seq) VALUES(?,?,?,?,?,?,?,?,?,coalesce(?10, ''),?11)"
                  " ON CONFLICT DO NOTHING");
  for (const auto& [id, r] : found.results) {
    const auto& v = r->values;
    round.bind(1, id).bind(2, v[1].integer).bind(3, v[2].text).bind(4, v[3].text);
    round.bind(5, v[4].integer).bind(6, v[5].integer).bind(7, Number(v[6]));
    if (IsNumber(v[7])) round.bind(8, Number(v[7]));
    if (IsNumber(v[8])) round.bind(9, Number(v[8]));
    BindIdentity(round, 10, v, 9);
    if (!Done(round)) return false;
  }
  return true;
}

}  // namespace

bool HoldsStoreRows(const std::string& path) {
  // The first pages tell: a store's cards and answers begin near its start.
  constexpr std::size_t kLooked = 16 << 20;
  for (const RawRecord& r : ReadLeafRecords(path, kLooked).records) {
    if (IsAnswer(r) || IsCard(r)) return true;
  }
  return false;
}

bool RecoverInto(const Database& db, const std::string& damaged, Recovered& recovered,
                 StoreFailure& failure) {
  const RawContents contents = ReadLeafRecords(damaged);
  const Found found = Sort(contents);
  std::map<std::int64_t, int> answers;  // how many each card kept
  int saved = 0;
  const bool kept = Transaction(db, failure, [&] {
    std::set<std::int64_t> cards;
    if (!CopyRows(db, found, cards, answers) || IdentifyOwnRows(db) != SQLITE_OK) return false;
    int dayStart = kDefaultDayStartMinutes;
    if (ReadDayStart(db, dayStart) != SQLITE_OK) return false;
    const Fsrs fsrs(DayRule::Local(dayStart));
    StateRebuilder states(db, fsrs);
    for (const auto& [card, count] : answers) {
      if (states.rebuild(card) != SQLITE_OK) return false;
      saved += count;
    }
    return true;
  });
  recovered.answersSaved = kept ? saved : 0;
  recovered.answersLost =
      static_cast<int>(static_cast<std::int64_t>(found.answerIds.size()) + found.gaps) -
      recovered.answersSaved;
  return kept;
}

}  // namespace study
