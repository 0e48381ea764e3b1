// SPDX-License-Identifier: MIT
// What can be read of a damaged SQLite file without SQLite's b-trees: each page as the
// file, overlaid by the committed frames of its -wal, holds it, and the records of the
// table and index leaf pages among them. A page or cell that does not hold together is
// passed over, never trusted; free pages are left out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace study {

struct RawValue {
  enum class Type { Null, Integer, Real, Text };  // a blob is read as a text
  Type type = Type::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string text;
};

struct RawRecord {
  bool tableRow = true;  // a row of a table (with its rowid), else an index entry
  std::int64_t rowid = 0;
  std::vector<RawValue> values;
};

// PRAGMA user_version as the file's header keeps it; nothing when the file does not start
// as an SQLite database does.
std::optional<int> HeaderVersion(const std::string& path);

// Every record of the leaf pages of the file at `path` and its -wal that can be read.
std::vector<RawRecord> ReadLeafRecords(const std::string& path);

}  // namespace study
