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
#include "day_start_store.h"
#include "fsrs.h"
#include "round_session.h"
#include "round_store.h"
#include "statistics.h"
#include "store_schema.h"
#include "store_types.h"
#include "sync_store.h"

namespace study {

class ProgressStore final : public CardStore,
                            public RoundStore,
                            public DayStartStore,
                            public SyncStore {
 public:
  // Opens the store at `path`, making it (readable by its owner alone) when there is none.
  // A damaged store of ours is moved aside under a dated name made from `now`, and what can
  // be read of it saved into a fresh store (`result.recovered`); a newer store is refused
  // untouched, and so is a file that is not a store. Nothing comes back for TooNew, NotOurs
  // and Failed.
  static std::unique_ptr<ProgressStore> Open(const std::string& path, Millis now,
                                             OpenResult& result,
                                             StoreAccess access = StoreAccess::Write,
                                             IntegrityCheck check = IntegrityCheck::AtOpening);
  // The check an opening left for later; true when the store is sound. A damaged writable
  // store is replaced as Open does and used from then on (DamagedKeptAside in `result`);
  // otherwise (Failed) it is closed and nothing more is read or saved.
  bool checkIntegrity(Millis now, OpenResult& result);

  ~ProgressStore() override;
  ProgressStore(const ProgressStore&) = delete;
  ProgressStore& operator=(const ProgressStore&) = delete;

  const std::string& path() const { return path_; }
  bool readOnly() const override { return readOnly_; }
  const Fsrs& scheduler() const override { return fsrs_; }
  const DayRule& dayRule() const override { return fsrs_.days(); }
  bool setDayStart(int minutes, Millis now, StoreFailure& failure) override;

  // The lesson's entries as cards, in the given order; entries not yet in a writable store
  // are added to it. In a read-only store an unknown entry is a new card with id 0.
  // A card's part of speech is kept as the lesson last gave it; a card added is stamped `now`.
  std::vector<Card> lessonCards(const std::string& lesson, const std::vector<EntryText>& entries,
                                Millis now, StoreFailure& failure);
  // Days are the learner's days.
  std::optional<Card> nextDue(Millis now, const std::vector<std::int64_t>& skip,
                              StoreFailure& failure) override;
  DueSummary dueSummary(Millis now, StoreFailure& failure) override;

  std::optional<Committed> commit(const Answer& answer, StoreFailure& failure) override;
  // The answer's row goes and the card's state is made again from the answers left.
  bool undo(std::int64_t answerId, StoreFailure& failure) override;

  bool saveResult(const RoundResult& result, StoreFailure& failure) override;
  // The rounds in time order: all, or the last `count` of one activity (and lesson, when
  // `lesson` is not empty).
  std::vector<RoundResult> results(StoreFailure& failure);
  std::vector<RoundResult> recentResults(const std::string& activity, const std::string& lesson,
                                         int count, StoreFailure& failure) override;

  // Every answer in the order the store took them (the order their states were computed
  // in), cards named by their ids.
  std::vector<LogLine> log(StoreFailure& failure);
  Statistics statistics(Millis now, StoreFailure& failure);

  // Empty for a version 5 store read as it is.
  const std::string& deviceId() const override { return deviceId_; }
  studysync::SyncItems unsent(std::size_t limit, StoreFailure& failure) override;
  bool markSent(const studysync::SyncItems& items, StoreFailure& failure) override;
  std::optional<MergeCounts> merge(const studysync::SyncItems& incoming, std::int64_t cursor,
                                   StoreFailure& failure) override;
  std::int64_t cursor(StoreFailure& failure) override;

 private:
  ProgressStore(Database db, std::string path, bool readOnly, DayRule days, std::string deviceId);
  // True, with `failure` set, when the store is read-only.
  bool refusedReadOnly(StoreFailure& failure) const;
  std::optional<CardState> stateOf(std::int64_t card, StoreFailure& failure);
  bool saveState(std::int64_t card, const CardState& state, StoreFailure& failure);

  std::unique_ptr<Database> db_;
  std::string path_;
  bool readOnly_;
  bool damaged_ = false;  // found damaged after opening: closed
  Fsrs fsrs_;
  std::string deviceId_;
};

}  // namespace study
