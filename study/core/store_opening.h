// SPDX-License-Identifier: MIT
// Opening the progress store's file: made readable by its owner alone, checked, brought up
// to date, kept aside and recovered when damaged (only by a program about to write), or
// read as it is; a file that is not a store is left as it is.
#pragma once

#include <optional>
#include <string>

#include "sqlite_handle.h"
#include "store_types.h"
#include "utc_time.h"

namespace study {

struct OpenedFile {
  Database db;
  bool readOnly = false;
  int dayStartMinutes = 0;
  std::string deviceId;
};

// As ProgressStore::Open says; nothing for TooNew, NotOurs and Failed.
std::optional<OpenedFile> OpenStoreFile(const std::string& path, Millis now, OpenResult& result,
                                        StoreAccess access, IntegrityCheck check);

// The whole file checked (PRAGMA quick_check): nothing when it is sound, else what is wrong.
std::optional<StoreFailure> DamageIn(const Database& db);
// Keeps the damaged store at `path` aside, starts a fresh one there and saves into it what
// can be read of the damaged one (`result.recovered`); DamagedKeptAside in `result`. Nothing
// when it cannot be moved (Failed) or no fresh store can be made; `result.failure` names the
// damage on entry.
std::optional<OpenedFile> ReplaceDamaged(const std::string& path, Millis now, OpenResult& result);
// Keeps a damaged store and its journal files aside under a dated name made from `now`;
// the name, or nothing when it cannot be moved.
std::optional<std::string> KeepDamagedAside(const std::string& path, Millis now);

}  // namespace study
