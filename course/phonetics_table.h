// SPDX-License-Identifier: MIT
// The phonetics of a folder's books. Code page 936 cannot hold ə, ʃ or ˈ, so they are kept
// apart from the course files, by English word, in a small UTF-8 text file beside them:
// one "word<TAB>phonetics" line a word, the phonetics without brackets or slashes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_places.h"
#include "file_status.h"

namespace course {

inline constexpr std::string_view kPhoneticsFileName = "phonetics.txt";

class PhoneticsTable {
 public:
  // Far above four full books of phonetics; a larger file is not one of ours.
  static constexpr std::uint64_t kLargestFile = 4 * 1024 * 1024;
  static constexpr std::size_t kLongestLine = 4 * 1024;

  // The phonetics of `english` (a word or a whole entry), found whatever its case and with
  // white space tidied.
  std::optional<std::string> find(std::string_view english) const;
  // Keeps `phonetics` for `english`; empty phonetics remove the word. False, and nothing
  // kept, for text the file cannot hold (not UTF-8, a control character, an empty word,
  // a line past the bound).
  bool put(std::string_view english, std::string_view phonetics);
  // Every word of `newer` with its phonetics, over what this table has.
  void merge(const PhoneticsTable& newer);
  // The changes from `before` to `after` (words added, changed or removed), made here.
  void apply(const PhoneticsTable& before, const PhoneticsTable& after);
  // What entries with these English lines (UTF-8) show from this table: the words kept
  // for a whole line or for one of its words.
  PhoneticsTable forLines(const std::vector<std::string>& englishLines) const;

  bool empty() const { return words_.empty(); }
  std::size_t size() const { return words_.size(); }
  // The file's text: one line a word, in the order of their keys.
  std::string text() const;

  friend bool operator==(const PhoneticsTable&, const PhoneticsTable&) = default;

 private:
  struct Word {
    std::string spelling;  // as it was given
    std::string phonetics;
    friend bool operator==(const Word&, const Word&) = default;
  };
  std::map<std::string, Word> words_;  // by the word in lower case
};

struct BadPhoneticsLine {
  std::size_t number = 0;
  std::string reason;
};

struct PhoneticsRead {
  suite::FileStatus status;                // a missing file is no failure: it gives an empty table
  std::vector<BadPhoneticsLine> badLines;  // skipped; the other lines are read
  bool ok() const { return status.ok() && badLines.empty(); }
  // The status, or a failure (EBADMSG) naming the first bad line.
  suite::FileStatus whole() const;
};

// The table a text gives, and its bad lines (see ReadPhoneticsTable).
std::vector<BadPhoneticsLine> ParsePhoneticsTable(std::string_view text, PhoneticsTable& table);

// Reads the table at `path` into `table`. A line without a tab, with an empty word or empty
// phonetics, or not UTF-8 is skipped and named; a control character, a line past the bound
// or a file past its size stops the reading with a failure.
PhoneticsRead ReadPhoneticsTable(const std::string& path, PhoneticsTable& table);

// The table of the books' folder as the suite finds the books: the user's own copy over the
// application folder's, word by word. A table that cannot be read gives what could be read
// of it.
PhoneticsTable ReadFolderPhonetics(const suite::FilePlaces& places);

// The table file beside the course file at `bookPath`.
std::string PhoneticsPathBeside(const std::string& bookPath);

// Merges `changes` into the table at `path` and writes it whole, tear-free. A table there
// that cannot be read whole is left as it is and its trouble returned, so that no line a
// teacher wrote is lost.
suite::FileStatus UpdatePhoneticsTable(const std::string& path, const PhoneticsTable& before,
                                       const PhoneticsTable& after);

}  // namespace course
