// SPDX-License-Identifier: MIT
// Saving what can be read of a damaged progress store into a fresh one.
#pragma once

#include <string>

#include "sqlite_handle.h"
#include "store_types.h"

namespace study {

// Whether a file without an SQLite header left holds rows of the store's tables.
bool HoldsStoreRows(const std::string& path);

// Copies into the fresh store `db` the cards, answers, rounds and settings that can be
// read of the damaged store at `damaged` (and its -wal), under their own ids, and makes
// each card's state again by replaying its answers in the order they were given, all in
// one transaction. An answer whose card is lost is lost with it. False, with `failure`
// set, when the fresh store cannot take them; `recovered` counts the answers either way.
bool RecoverInto(const Database& db, const std::string& damaged, Recovered& recovered,
                 StoreFailure& failure);

}  // namespace study
