// SPDX-License-Identifier: MIT
// What the memorising sessions need of a learner's store: a lesson's cards, the next card
// due, how many are due, an answer kept, an answer taken back. The progress store is one;
// tests give others.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fsrs.h"

namespace study {

// What went wrong in the store: the kind, which the windows tell the learner, and the
// store's own words.
struct StoreFailure {
  enum class Kind {
    None,
    DiskFull,
    ReadOnly,  // the file or its folder takes no writes
    Busy,      // another program kept the store locked
    Damaged,
    NotAStore,  // another program's database, an empty file
    InputOutput,
    CannotOpen,
    NoPermission,
    AnsweredSince,  // taking back an answer that is no longer its card's last
    Other,
  };
  Kind kind = Kind::None;
  std::string detail;
  int systemError = 0;  // the errno behind it, when the system refused (a full disk, a folder)
  bool failed() const { return kind != Kind::None; }
};

// An entry of a lesson as the store knows it.
struct EntryText {
  std::string line1;
  std::string line2;
  std::string partOfSpeech = {};
};

struct Card {
  std::int64_t id = 0;  // 0: not in the store
  std::string lesson;
  std::string line1;
  std::string line2;
  CardState state;
  std::string partOfSpeech = {};  // shown beside the English line; not part of the card's identity
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

struct DueSummary {
  int dueToday = 0;
  int dueTomorrow = 0;
  std::optional<Millis> nextDue;  // the earliest due of any learned card
};

// The time an answer is kept with: never earlier than the card's previous answer, so that
// a clock set back gives no negative days and no due date before the last answer.
inline Millis NotBefore(const CardState& card, Millis now) {
  return card.isNew() ? now : std::max(now, card.lastAnswer);
}

class CardStore {
 public:
  virtual ~CardStore() = default;

  virtual bool readOnly() const = 0;
  // The scheduler, counting days by the learner's day rule the store keeps.
  virtual const Fsrs& scheduler() const = 0;
  // The lesson's entries as cards, in the given order; entries not yet in a writable store
  // are added to it, stamped `now`. In a read-only store an unknown entry is a new card with
  // id 0. A card's part of speech is kept as the lesson last gave it.
  virtual std::vector<Card> lessonCards(const std::string& lesson,
                                        const std::vector<EntryText>& entries, Millis now,
                                        StoreFailure& failure) = 0;
  // The card due earliest among those due by the end of `now`'s learner's day, leaving out
  // `skip`.
  virtual std::optional<Card> nextDue(Millis now, const std::vector<std::int64_t>& skip,
                                      StoreFailure& failure) = 0;
  virtual DueSummary dueSummary(Millis now, StoreFailure& failure) = 0;
  // Records the answer and the card's new state, computed from the state in the store; the
  // answer's time is kept NotBefore the card's previous answer.
  virtual std::optional<Committed> commit(const Answer& answer, StoreFailure& failure) = 0;
  // Takes back an answer that is still its card's last one. False when another answer came
  // after it (failure kind AnsweredSince) or the store failed.
  virtual bool undo(std::int64_t answerId, StoreFailure& failure) = 0;
};

}  // namespace study
