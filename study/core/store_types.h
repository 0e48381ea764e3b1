// SPDX-License-Identifier: MIT
// What opening a learner's progress store gives, without SQLite: the file's name, how it is
// opened and what came of it. The cards, answers, rounds and statistics it holds are in
// card_store.h, round_session.h and statistics.h.
#pragma once

#include <string>

#include "card_store.h"

namespace study {

inline constexpr const char* kStoreFileName = "study.db";

// Read: only to read (studytool's looking): the file is opened read-only, never made,
// brought up to date or moved aside. Write: to study, which may do all three.
enum class StoreAccess { Write, Read };

// When the whole file is checked for damage (PRAGMA quick_check, tens of milliseconds on a
// year's answers): at opening, or Later, by checkIntegrity(), once the learner has what to
// look at.
enum class IntegrityCheck { AtOpening, Later };

// What was saved of a damaged store's answers, and what was lost with it.
struct Recovered {
  int answersSaved = 0;
  int answersLost = 0;
};

struct OpenResult {
  enum class Outcome {
    Opened,
    ReadOnly,          // opened, but nothing can be saved
    DamagedKeptAside,  // the old file is kept under keptAs; a fresh store holds what was
                       // recovered of it
    TooNew,            // written by a newer program (foundVersion): refused, untouched
    NotOurs,           // not a store (failure says what): refused, untouched
    Failed,            // no store: failure says why
  };
  Outcome outcome = Outcome::Failed;
  std::string keptAs;
  int foundVersion = 0;
  StoreFailure failure;
  Recovered recovered;  // for DamagedKeptAside
  // Read without its -wal, which holds answers (the folder may not be written): what is
  // read may be out of date.
  bool mayBeOutOfDate = false;
};

}  // namespace study
