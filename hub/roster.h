// SPDX-License-Identifier: MIT
// Classes, their learners and the join codes a teacher hands out, and where the server
// listens (for the codes).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database.h"

namespace hub {

struct ClassRow {
  std::int64_t id = 0;
  std::string name;
};

struct LearnerRow {
  std::int64_t id = 0;
  std::string number;
  std::string name;
  std::int64_t devices = 0;
  std::string lastSync;  // ISO 8601 UTC, empty when never
};

struct ServerPlace {
  std::string address;  // HOST:PORT
  std::string pin;
};

// The class named `nameOrId`, else the one with that id.
std::optional<ClassRow> FindClass(Database& database, const std::string& nameOrId);
// The new class's id; throws std::runtime_error when the name is taken.
std::int64_t AddClass(Database& database, const std::string& name);
// The learner's id: a new learner, or the one with that number, renamed to `name` when
// `rename`, else refused (std::runtime_error) as already there.
std::int64_t PutLearner(Database& database, std::int64_t classId, const std::string& number,
                        const std::string& name, bool rename);
std::optional<std::int64_t> FindLearner(Database& database, std::int64_t classId,
                                        const std::string& number);
std::vector<LearnerRow> ListLearners(Database& database, std::int64_t classId);

// A new one-time secret for the learner, valid for `days`; only its hash is kept.
std::string NewJoinSecret(Database& database, std::int64_t learnerId, int days);

void RecordServerPlace(Database& database, const ServerPlace& place);
std::optional<ServerPlace> RecordedServerPlace(Database& database);

}  // namespace hub
