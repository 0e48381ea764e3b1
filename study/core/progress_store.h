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
#include "card_store.h"
#include "fsrs.h"
#include "round_session.h"
#include "sqlite_handle.h"
#include "statistics.h"

namespace study {

inline constexpr const char* kStoreFileName = "study.db";
// 1: cards and answers; 2: each card's scheduling state, kept with every answer; 3: the
// finished rounds of dictation, listening and typing; 4: each card's part of speech; 5: the
// learner's settings (the day start).
inline constexpr int kStoreVersion = 5;

// An entry of a lesson as the store knows it.
struct EntryText {
  std::string line1;
  std::string line2;
  std::string partOfSpeech = {};
};

struct OpenResult {
  enum class Outcome {
    Opened,
    ReadOnly,          // opened, but nothing can be saved
    DamagedKeptAside,  // the old file is kept under keptAs; a fresh store was started
    TooNew,            // written by a newer program (foundVersion): refused, untouched
    NotOurs,           // opened to read, but not a store (failure says what): untouched
    Failed,            // no store: failure says why
  };
  Outcome outcome = Outcome::Failed;
  std::string keptAs;
  int foundVersion = 0;
  StoreFailure failure;
  // Read without its -wal, which holds answers (the folder may not be written): what is
  // read may be out of date.
  bool mayBeOutOfDate = false;
};

// Read: only to read (studytool's looking): the file is opened read-only, never made,
// brought up to date or moved aside. Write: to study, which may do all three.
enum class StoreAccess { Write, Read };

class ProgressStore final : public CardStore {
 public:
  // Opens the store at `path`, making it (readable by its owner alone) when there is none.
  // A damaged file is moved aside under a dated name made from `now` and a fresh store
  // started; a newer store is refused untouched. To read, a file that is not a store is
  // refused untouched. Nothing comes back for TooNew, NotOurs and Failed.
  static std::unique_ptr<ProgressStore> Open(const std::string& path, Millis now,
                                             OpenResult& result,
                                             StoreAccess access = StoreAccess::Write);

  const std::string& path() const { return path_; }
  bool readOnly() const override { return readOnly_; }
  const Fsrs& scheduler() const override { return fsrs_; }
  const DayRule& dayRule() const { return fsrs_.days(); }
  // Keeps a new day start (minutes after local midnight); it counts from the next answer.
  bool setDayStart(int minutes, StoreFailure& failure);

  // The lesson's entries as cards, in the given order; entries not yet in a writable store
  // are added to it. In a read-only store an unknown entry is a new card with id 0.
  // A card's part of speech is kept as the lesson last gave it.
  std::vector<Card> lessonCards(const std::string& lesson, const std::vector<EntryText>& entries,
                                StoreFailure& failure);
  // Days are the learner's days.
  std::optional<Card> nextDue(Millis now, const std::vector<std::int64_t>& skip,
                              StoreFailure& failure) override;
  DueSummary dueSummary(Millis now, StoreFailure& failure) override;

  std::optional<Committed> commit(const Answer& answer, StoreFailure& failure) override;
  // The answer's row goes and the card's state is made again from the answers left.
  bool undo(std::int64_t answerId, StoreFailure& failure) override;

  bool saveResult(const RoundResult& result, StoreFailure& failure);
  // The rounds in time order: all, or the last `count` of one activity (and lesson, when
  // `lesson` is not empty).
  std::vector<RoundResult> results(StoreFailure& failure);
  std::vector<RoundResult> recentResults(const std::string& activity, const std::string& lesson,
                                         int count, StoreFailure& failure);

  // Every answer in the order the store took them (the order their states were computed
  // in), cards named by their ids.
  std::vector<LogLine> log(StoreFailure& failure);
  Statistics statistics(Millis now, StoreFailure& failure);

 private:
  ProgressStore(Database db, std::string path, bool readOnly, DayRule days);
  bool transaction(StoreFailure& failure, const auto& work);
  std::optional<CardState> stateOf(std::int64_t card, StoreFailure& failure);
  bool saveState(std::int64_t card, const CardState& state, StoreFailure& failure);

  Database db_;
  std::string path_;
  bool readOnly_;
  Fsrs fsrs_;
};

// Makes every card's state again from its answers, in the order they were committed:
// what version 1 stores lack (by UTC days, as they were then), and what undo needs for one
// card.
CardState ReplayCard(const Fsrs& fsrs, const std::vector<std::pair<Millis, Grade>>& answers);

}  // namespace study
