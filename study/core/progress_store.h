// SPDX-License-Identifier: MIT
// A learner's progress: one SQLite database holding the cards, every answer and each
// card's scheduling state. Every answer is committed in a transaction of its own before
// the next card shows; several programs may use one store at once.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "answer_log.h"
#include "fsrs.h"
#include "sqlite_handle.h"

namespace study {

inline constexpr const char* kStoreFileName = "study.db";
// 1: cards and answers; 2: each card's scheduling state, kept with every answer; 3: the
// finished rounds of dictation, listening and typing.
inline constexpr int kStoreVersion = 3;

// What went wrong in SQLite: its result code and words.
struct StoreFailure {
  int code = SQLITE_OK;
  std::string detail;
  int systemError = 0;  // the errno behind it, when the system refused (a full disk, a folder)
};

struct OpenResult {
  enum class Outcome {
    Opened,
    ReadOnly,          // opened, but nothing can be saved
    DamagedKeptAside,  // the old file is kept under keptAs; a fresh store was started
    TooNew,            // written by a newer program (foundVersion): refused, untouched
    Failed,            // no store: failure says why
  };
  Outcome outcome = Outcome::Failed;
  std::string keptAs;
  int foundVersion = 0;
  StoreFailure failure;
};

struct Card {
  std::int64_t id = 0;  // 0: not in the store
  std::string lesson;
  std::string line1;
  std::string line2;
  CardState state;
};

struct Answer {
  std::int64_t card = 0;
  Millis time = 0;
  Grade grade = Grade::Again;
  std::string activity;
  double seconds = 0;
};

struct Committed {
  std::int64_t answerId = 0;
  CardState state;  // the card's after the answer
};

// One finished round of 听写训练 ("dictation"), 听力自测 ("listening") or 休闲打字
// ("typing"). Rounds are not reviews: they never change a card's schedule.
struct RoundResult {
  Millis time = 0;
  std::string activity;
  std::string lesson;
  int right = 0;
  int total = 0;
  double seconds = 0;
  std::optional<double> wordsPerMinute;  // typing only
  std::optional<double> accuracy;        // typing only
};

struct DueSummary {
  int dueToday = 0;
  int dueTomorrow = 0;
  std::optional<Millis> nextDue;  // the earliest due of any learned card
};

struct Statistics {
  static constexpr int kDays = 30;
  static constexpr int kWeeks = 12;
  std::vector<int> answersPerDay;  // the last kDays UTC days, today last
  std::vector<int> duePerDay;      // the next kDays UTC days, today first (overdue included)
  // Per week, oldest first, this week last: answers on cards already in review (answered
  // on an earlier day before) and how many of them were 2 or more.
  std::vector<int> reviewAnswersPerWeek;
  std::vector<int> recalledPerWeek;
  int unlearned = 0;   // never answered
  int relearning = 0;  // last answer 1
  int young = 0;       // interval under 21 days
  int mature = 0;      // 21 days or more
};

class ProgressStore {
 public:
  // Opens the store at `path`, making it when there is none. A damaged file is moved aside
  // under a dated name made from `now` and a fresh store started; a newer store is refused
  // untouched. Nothing comes back for TooNew and Failed.
  static std::unique_ptr<ProgressStore> Open(const std::string& path, Millis now,
                                             OpenResult& result);

  const std::string& path() const { return path_; }
  bool readOnly() const { return readOnly_; }

  // The lesson's entries as cards, in the given order; entries not yet in a writable store
  // are added to it. In a read-only store an unknown entry is a new card with id 0.
  std::vector<Card> lessonCards(const std::string& lesson,
                                const std::vector<std::pair<std::string, std::string>>& entries,
                                StoreFailure& failure);
  // The card due earliest among those due by the end of `now`'s UTC day.
  std::optional<Card> nextDue(Millis now, StoreFailure& failure);
  DueSummary dueSummary(Millis now, StoreFailure& failure);

  // Records the answer and the card's new state, computed from the state in the store.
  std::optional<Committed> commit(const Answer& answer, StoreFailure& failure);
  // Takes back an answer that is still its card's last one: its row goes and the card's
  // state is made again from the answers left. False when another answer came after it.
  bool undo(std::int64_t answerId, StoreFailure& failure);

  bool saveResult(const RoundResult& result, StoreFailure& failure);
  // The rounds in time order: all, or the last `count` of one activity (and lesson, when
  // `lesson` is not empty).
  std::vector<RoundResult> results(StoreFailure& failure);
  std::vector<RoundResult> recentResults(const std::string& activity, const std::string& lesson,
                                         int count, StoreFailure& failure);

  // Every answer in time order, cards named by their ids.
  std::vector<LogLine> log(StoreFailure& failure);
  Statistics statistics(Millis now, StoreFailure& failure);

 private:
  ProgressStore(Database db, std::string path, bool readOnly);
  bool transaction(StoreFailure& failure, const auto& work);
  std::optional<CardState> stateOf(std::int64_t card, StoreFailure& failure);
  bool saveState(std::int64_t card, const CardState& state, StoreFailure& failure);

  Database db_;
  std::string path_;
  bool readOnly_;
  Fsrs fsrs_;
};

// Makes every card's state again from its answers, in the order they were committed:
// what version 1 stores lack, and what undo needs for one card.
CardState ReplayCard(const Fsrs& fsrs, const std::vector<std::pair<Millis, Grade>>& answers);

}  // namespace study
