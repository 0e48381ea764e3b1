// SPDX-License-Identifier: MIT
// The progress store's tables, by version, and the numbered steps from one version to the
// next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "round_session.h"
#include "utc_time.h"

namespace study {

class Database;
class Statement;

// A finished round from `row`'s columns from `first` on, in the order
// time, activity, lesson, right, total, seconds, wpm, accuracy.
RoundResult RoundResultRow(const Statement& row, int first);

// 1: cards and answers; 2: each card's scheduling state, kept with every answer; 3: the
// finished rounds of dictation, listening and typing; 4: each card's part of speech; 5: the
// learner's settings (the day start); 6: answers and rounds known by device and sequence
// number, the answers taken back, and what synchronising keeps.
inline constexpr int kStoreVersion = 6;
// Read-only, a store from version 4 on is read as it is (without settings before 5).
inline constexpr int kOldestReadable = 4;
inline constexpr int kFirstWithSettings = 5;

inline constexpr const char* kDayStartSetting = "day_start";
// When the day start last changed (Millis), and which change was last sent.
inline constexpr const char* kDayStartChangedSetting = "day_start_changed";
inline constexpr const char* kDayStartSentSetting = "day_start_sent";
// This device (32 lowercase hex digits) and its next sequence number, which only grows.
inline constexpr const char* kDeviceSetting = "device";
inline constexpr const char* kNextSeqSetting = "next_seq";
// The highest sequence numbers of this device's answers and rounds the server took.
inline constexpr const char* kSentAnswersSetting = "sent_answers";
inline constexpr const char* kSentResultsSetting = "sent_results";
// The class server's cursor last taken in.
inline constexpr const char* kCursorSetting = "cursor";

// Brings a store from `version` to kStoreVersion, each step in order, in one transaction;
// SQLite's result code.
int UpgradeStore(const Database& db, int version);

// A setting, nothing when the store has none; SQLite's result code, as below.
int ReadSetting(const Database& db, const char* name, std::optional<std::string>& value);
int WriteSetting(const Database& db, const char* name, std::string_view value);
// A number setting: `number` is left as it is when there is none.
int ReadNumber(const Database& db, const char* name, std::int64_t& number);
int WriteNumber(const Database& db, const char* name, std::int64_t number);

// The day start the store keeps, if it keeps one.
int ReadDayStart(const Database& db, int& minutes);
int WriteDayStart(const Database& db, int minutes, Millis changed);

// 128 random bits in hex, for a new device.
std::string NewDeviceId();
// Takes this device's next sequence number; never one given before, even when its row is gone.
int NextSeq(const Database& db, std::int64_t& seq);
// Gives answers and rounds without identity this device's, numbered in the order they were
// kept, and moves the counter past every number of this device's rows.
int IdentifyOwnRows(const Database& db);

}  // namespace study
