// SPDX-License-Identifier: MIT
#include "store_opening.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "learner_day.h"
#include "raw_pages.h"
#include "store_recovery.h"
#include "store_schema.h"
#include "store_sql.h"

namespace study {
namespace {

constexpr int kBusyMillis = 5000;  // another program of the suite finishing its answer

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::int64_t SizeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_size : 0;
}

// A new store is made readable by its owner alone, whatever the folder's mode; SQLite gives
// its -wal and -shm the store's mode.
void MakeOwnersOnly(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
}

// A store that came with a wider mode (a backup restored, an older store) is narrowed at
// every opening for writing, with the -wal and -shm it already has.
void KeepOwnersOnly(const std::string& path) {
  for (const std::string& file : {path, path + "-wal", path + "-shm"}) {
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0 && (st.st_mode & 077) != 0) {
      ::chmod(file.c_str(), st.st_mode & 0700);
    }
  }
}

bool IsDamage(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

bool IsNoWrite(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM ||
         primary == SQLITE_AUTH;
}

int OpenFile(const std::string& target, int flags, Database& db) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(target.c_str(), &raw, flags, nullptr);
  db = Database(raw);
  if (rc == SQLITE_OK) sqlite3_busy_timeout(raw, kBusyMillis);
  sqlite3_extended_result_codes(raw, 1);
  return rc;
}

// SQLite's code of PRAGMA quick_check: SQLITE_CORRUPT, with what it found, for damage.
int QuickCheck(const Database& db, std::string& detail) {
  Statement check(db, "PRAGMA quick_check");
  const int rc = check.step();
  if (rc != SQLITE_ROW) {
    detail = db.error();
    return rc;
  }
  if (check.text(0) == "ok") return SQLITE_OK;
  detail = check.text(0);
  return SQLITE_CORRUPT;
}

// What the file holds: its version, or a failure (damage, or it cannot be read).
struct Inspection {
  int version = 0;
  bool empty = false;    // a new file, or one with no tables
  bool foreign = false;  // tables, but none of ours: another program's database
  int code = SQLITE_OK;  // what went wrong, in SQLite's code and words
  std::string detail;
};

Inspection Inspect(const Database& db, IntegrityCheck when) {
  Inspection found;
  Statement version(db, "PRAGMA user_version");
  int rc = version.step();
  if (rc != SQLITE_ROW) {
    found.code = rc;
    found.detail = db.error();
    return found;
  }
  found.version = static_cast<int>(version.integer(0));
  if (when == IntegrityCheck::AtOpening) {
    rc = QuickCheck(db, found.detail);
    if (rc != SQLITE_OK) {
      found.code = rc;
      return found;
    }
  }
  Statement tables(db, "SELECT count(*) FROM sqlite_master");
  rc = tables.step();
  if (rc != SQLITE_ROW) {
    found.code = rc;
    found.detail = db.error();
    return found;
  }
  found.empty = tables.integer(0) == 0;
  if (found.empty && found.version != 0) {
    found.code = SQLITE_CORRUPT;
    found.detail = "no tables";
  }
  if (!found.empty && found.version == 0) {
    found.foreign = true;
    found.code = SQLITE_NOTADB;
    found.detail = "a database of another program";
  }
  return found;
}

std::string DamagedName(const std::string& path, Millis now) {
  const std::time_t seconds = static_cast<std::time_t>(now / 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
  std::string name = path + ".damaged-" + stamp;
  for (int n = 2; Exists(name); ++n) name = path + ".damaged-" + stamp + "-" + std::to_string(n);
  return name;
}

// Moves the store and its journal files aside; false (errno kept) when it cannot.
bool KeepAside(const std::string& path, const std::string& keptAs) {
  if (std::rename(path.c_str(), keptAs.c_str()) != 0) return false;
  for (const char* suffix : {"-wal", "-shm"}) {
    if (Exists(path + suffix)) std::rename((path + suffix).c_str(), (keptAs + suffix).c_str());
  }
  return true;
}

// What the store keeps of the learner's and this device's: the day start and the device's id
// (none in a version 5 store read as it is).
int ReadSettings(const Database& db, OpenedFile& opened) {
  std::optional<std::string> device;
  int rc = ReadDayStart(db, opened.dayStartMinutes);
  if (rc == SQLITE_OK) rc = ReadSetting(db, kDeviceSetting, device);
  opened.deviceId = device.value_or(std::string());
  return rc;
}

}  // namespace

std::optional<OpenedFile> OpenStoreFile(const std::string& path, Millis now, OpenResult& result,
                                        StoreAccess access, IntegrityCheck check) {
  result = {};
  Database db;
  bool readOnly = access == StoreAccess::Read;
  int rc = SQLITE_CANTOPEN;
  if (!readOnly) {
    MakeOwnersOnly(path);
    rc = OpenFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db);
  }
  if (rc != SQLITE_OK) {
    readOnly = true;
    rc = OpenFile(path, SQLITE_OPEN_READONLY, db);
  }
  if (rc != SQLITE_OK) {
    result.failure = FailureOf(db, rc);
    return std::nullopt;
  }
  readOnly = readOnly || sqlite3_db_readonly(db.get(), "main") == 1;
  Inspection found = Inspect(db, check);
  if (readOnly && IsNoWrite(found.code)) {
    // A WAL store in a folder we may not write cannot even be read the ordinary way.
    rc = OpenFile("file:" + path + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, db);
    found = rc == SQLITE_OK ? Inspect(db, check) : Inspection{0, false, false, rc, db.error()};
    result.mayBeOutOfDate = SizeOf(path + "-wal") > 0;
  }
  if (found.empty && result.mayBeOutOfDate) {
    result.failure =
        FailureOf(SQLITE_CANTOPEN, "all of it is still in its -wal, which cannot be read here");
    return std::nullopt;
  }
  if (readOnly && found.empty && found.code == SQLITE_OK) {
    result.outcome = OpenResult::Outcome::NotOurs;
    result.failure = {StoreFailure::Kind::NotAStore, "an empty file"};
    return std::nullopt;
  }
  if (IsDamage(found.code)) {
    db = Database();
    // Only a store of ours is ever moved: its header names one of our versions, or, with no
    // header left, its pages hold our rows.
    const std::optional<int> version = HeaderVersion(path);
    if (version && *version > kStoreVersion) {
      result.outcome = OpenResult::Outcome::TooNew;
      result.foundVersion = *version;
      return std::nullopt;
    }
    if (found.foreign || (version ? *version == 0 : !HoldsStoreRows(path))) {
      result.outcome = OpenResult::Outcome::NotOurs;
      result.failure = {StoreFailure::Kind::NotAStore, found.detail};
      return std::nullopt;
    }
    result.failure = FailureOf(found.code, found.detail);
    if (readOnly) return std::nullopt;  // Failed: damaged, and only to be read
    return ReplaceDamaged(path, now, result);
  }
  if (found.code != SQLITE_OK) {
    result.failure = FailureOf(found.code, found.detail);
    return std::nullopt;
  }
  if (found.version > kStoreVersion) {
    result.outcome = OpenResult::Outcome::TooNew;
    result.foundVersion = found.version;
    return std::nullopt;
  }
  if (!readOnly) {
    KeepOwnersOnly(path);
    rc = db.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
    if (rc == SQLITE_OK) rc = UpgradeStore(db, found.version);
    if (IsNoWrite(rc)) {
      readOnly = true;  // the file or its folder turned out not to take writes
    } else if (rc != SQLITE_OK) {
      result.failure = FailureOf(db, rc);
      return std::nullopt;
    }
  }
  if (readOnly && found.version < kOldestReadable) {
    result.failure =
        FailureOf(SQLITE_READONLY, "an older version (" + std::to_string(found.version) +
                                       ") that the study programs will upgrade");
    return std::nullopt;
  }
  OpenedFile opened{Database(), readOnly, kDefaultDayStartMinutes, {}};
  // A version 4 store read as it is has no settings yet.
  rc = readOnly && found.version < kFirstWithSettings ? SQLITE_OK : ReadSettings(db, opened);
  if (rc != SQLITE_OK) {
    result.failure = FailureOf(db, rc);
    return std::nullopt;
  }
  result.outcome = readOnly ? OpenResult::Outcome::ReadOnly : OpenResult::Outcome::Opened;
  opened.db = std::move(db);
  return opened;
}

std::optional<StoreFailure> DamageIn(const Database& db) {
  std::string detail;
  const int rc = QuickCheck(db, detail);
  if (rc == SQLITE_OK) return std::nullopt;
  return FailureOf(rc, detail);
}

std::optional<OpenedFile> ReplaceDamaged(const std::string& path, Millis now, OpenResult& result) {
  const StoreFailure damage = result.failure;
  const auto keptAs = KeepDamagedAside(path, now);
  if (!keptAs) {
    result.outcome = OpenResult::Outcome::Failed;
    return std::nullopt;
  }
  auto fresh = OpenStoreFile(path, now, result, StoreAccess::Write, IntegrityCheck::AtOpening);
  result.keptAs = *keptAs;
  if (fresh && fresh->readOnly) {
    // The folder took the move but the new file takes no writes: nothing to go on with.
    result.outcome = OpenResult::Outcome::Failed;
    result.failure = {StoreFailure::Kind::ReadOnly, "the fresh store is read-only"};
    return std::nullopt;
  }
  if (!fresh) return std::nullopt;
  StoreFailure failure;
  RecoverInto(fresh->db, *keptAs, result.recovered, failure);
  ReadSettings(fresh->db, *fresh);
  result.outcome = OpenResult::Outcome::DamagedKeptAside;
  result.failure = damage;
  return fresh;
}

std::optional<std::string> KeepDamagedAside(const std::string& path, Millis now) {
  const std::string keptAs = DamagedName(path, now);
  if (!KeepAside(path, keptAs)) return std::nullopt;
  return keptAs;
}

}  // namespace study
