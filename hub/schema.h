// SPDX-License-Identifier: MIT
// The server's tables, made and brought up to date by numbered steps, each in one
// transaction of its own; the version reached is kept in schema_version.
#pragma once

#include <cstddef>

#include "database.h"

namespace hub {

std::size_t LatestSchemaVersion();

// Runs every step past the database's version, up to `upTo` (the latest by default);
// the version reached. Two at once are harmless: each step takes a lock first and looks
// again. Throws DatabaseError; a database of a newer studyhub (a version we do not know)
// is refused with std::runtime_error and left as it is.
std::size_t UpgradeSchema(Database& database, std::size_t upTo = LatestSchemaVersion());

// The version of the database's schema, 0 when it has none.
std::size_t SchemaVersion(Database& database);

}  // namespace hub
