// SPDX-License-Identifier: MIT
// What can be read of a damaged SQLite file without SQLite's b-trees: each page as the
// file, overlaid by the committed frames of its -wal, holds it, and the records of the
// table and index leaf pages among them. A page or cell that does not hold together is
// passed over, never trusted; free pages are left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
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
  std::uint32_t page = 0;  // the page it was read from, counted from 1
};

// What could be read: the records, and for each readable interior page the pages below it,
// which tell the leaves of one table or index from another.
struct RawContents {
  std::vector<RawRecord> records;
  std::map<std::uint32_t, std::vector<std::uint32_t>> children;

  // The pages of the b-tree whose root is `root`, itself included.
  std::set<std::uint32_t> treeAt(std::uint32_t root) const;
};

// PRAGMA user_version as the file's header keeps it; nothing when the file does not start
// as an SQLite database does.
std::optional<int> HeaderVersion(const std::string& path);

// Every record of the leaf pages of the file at `path` and its -wal that can be read, from
// the first `maxBytes` of the file.
RawContents ReadLeafRecords(const std::string& path, std::size_t maxBytes = SIZE_MAX);
// The same for a file's bytes and its -wal's.
RawContents ParseLeafRecords(std::string_view file, std::string_view wal);

}  // namespace study
