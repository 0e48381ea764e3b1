// SPDX-License-Identifier: MIT
// The progress store's tables, by version, and the numbered steps from one version to the
// next.
#pragma once

namespace study {

class Database;

// 1: cards and answers; 2: each card's scheduling state, kept with every answer; 3: the
// finished rounds of dictation, listening and typing; 4: each card's part of speech; 5: the
// learner's settings (the day start).
inline constexpr int kStoreVersion = 5;
// Read-only, a store from version 4 on is read as it is (without settings before 5).
inline constexpr int kOldestReadable = 4;
inline constexpr int kFirstWithSettings = 5;

inline constexpr const char* kDayStartSetting = "day_start";

// Brings a store from `version` to kStoreVersion, each step in order, in one transaction;
// SQLite's result code.
int UpgradeStore(const Database& db, int version);

// The day start the store keeps, if it keeps one; SQLite's result code.
int ReadDayStart(const Database& db, int& minutes);
int WriteDayStart(const Database& db, int minutes);

}  // namespace study
