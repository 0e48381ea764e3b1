// SPDX-License-Identifier: MIT
#include "phonetics_table.h"

#include <cerrno>
#include <sstream>

#include "english_words.h"
#include "file_io.h"
#include "text_lines.h"
#include "utf8.h"

namespace course {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t';
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Without spaces at either end, runs of them as one.
std::string Tidied(std::string_view text) {
  std::string tidy;
  for (const char c : text) {
    if (!IsSpace(c)) {
      tidy.push_back(c);
    } else if (!tidy.empty() && tidy.back() != ' ') {
      tidy.push_back(' ');
    }
  }
  if (!tidy.empty() && tidy.back() == ' ') tidy.pop_back();
  return tidy;
}

std::string Key(std::string_view english) {
  std::string key = Tidied(english);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

// Text one field of a line can hold.
bool Holdable(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  // A byte order mark inside would be taken for the file's own when the word came first.
  return FromUtf8(text).has_value() && text.find(kByteOrderMark) == std::string_view::npos;
}

}  // namespace

std::optional<std::string> PhoneticsTable::find(std::string_view english) const {
  const auto found = words_.find(Key(english));
  if (found == words_.end()) return std::nullopt;
  return found->second.phonetics;
}

bool PhoneticsTable::put(std::string_view english, std::string_view phonetics) {
  std::string word = Tidied(english);
  std::string sound = Tidied(phonetics);
  if (word.empty() || !Holdable(word) || !Holdable(sound) ||
      word.size() + sound.size() + 1 > kLongestLine) {
    return false;
  }
  std::string key = Key(word);
  if (sound.empty()) {
    words_.erase(key);
  } else {
    words_[std::move(key)] = {std::move(word), std::move(sound)};
  }
  return true;
}

void PhoneticsTable::merge(const PhoneticsTable& newer) {
  for (const auto& [key, word] : newer.words_) words_[key] = word;
}

void PhoneticsTable::apply(const PhoneticsTable& before, const PhoneticsTable& after) {
  for (const auto& [key, word] : before.words_) {
    if (!after.words_.contains(key)) words_.erase(key);
  }
  for (const auto& [key, word] : after.words_) {
    const auto was = before.words_.find(key);
    if (was == before.words_.end() || was->second != word) words_[key] = word;
  }
}

PhoneticsTable PhoneticsTable::forLines(const std::vector<std::string>& englishLines) const {
  PhoneticsTable kept;
  const auto keep = [&](std::string_view english) {
    if (const auto found = words_.find(Key(english)); found != words_.end()) {
      kept.words_.insert(*found);
    }
  };
  for (const std::string& line : englishLines) {
    keep(line);
    for (const std::string& word : EnglishWords(line)) keep(word);
  }
  return kept;
}

std::string PhoneticsTable::text() const {
  std::string text;
  for (const auto& [key, word] : words_) {
    text += word.spelling;
    text += '\t';
    text += word.phonetics;
    text += '\n';
  }
  return text;
}

std::vector<BadPhoneticsLine> ParsePhoneticsTable(std::string_view text, PhoneticsTable& table) {
  table = {};
  std::vector<BadPhoneticsLine> bad;
  std::istringstream stream{std::string(text)};
  suite::TextLines lines(stream, PhoneticsTable::kLongestLine);
  std::string line;
  while (lines.next(line)) {
    // Files pasted together keep their marks at the start of their first lines.
    if (line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
    const auto tab = line.find('\t');
    const auto skip = [&](std::string reason) {
      bad.push_back({lines.number(), std::move(reason)});
    };
    if (Tidied(line).empty()) continue;
    if (tab == std::string::npos) {
      skip("no tab between the word and its phonetics");
    } else if (Tidied(line.substr(tab + 1)).empty()) {
      skip("no phonetics after the tab");
    } else if (!table.put(line.substr(0, tab), line.substr(tab + 1))) {
      skip(Tidied(line.substr(0, tab)).empty() ? "no word before the tab"
                                               : "not UTF-8, or a byte order mark inside");
    }
  }
  if (!lines.error().empty()) bad.push_back({lines.number(), lines.error()});
  return bad;
}

PhoneticsRead ReadPhoneticsTable(const std::string& path, PhoneticsTable& table) {
  table = {};
  std::vector<std::uint8_t> bytes;
  std::uint64_t size = 0;
  PhoneticsRead read{suite::ReadFilePrefix(path, PhoneticsTable::kLargestFile, bytes, size), {}};
  if (read.status.error == ENOENT) {
    read.status = suite::FileStatus::success(path);
    return read;
  }
  if (!read.status.ok()) return read;
  if (size > PhoneticsTable::kLargestFile) {
    read.status = suite::FileStatus::failure(
        path, EFBIG,
        "larger than a phonetics table can be (" +
            std::to_string(PhoneticsTable::kLargestFile / (1024 * 1024)) + " MiB)");
    return read;
  }
  read.badLines = ParsePhoneticsTable(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), table);
  return read;
}

suite::FileStatus PhoneticsRead::whole() const {
  if (!status.ok() || badLines.empty()) return status;
  const auto& bad = badLines.front();
  return suite::FileStatus::failure(status.path, EBADMSG,
                                    "line " + std::to_string(bad.number) + ": " + bad.reason);
}

PhoneticsTable ReadFolderPhonetics(const suite::FilePlaces& places) {
  const std::string name(kPhoneticsFileName);
  const std::string shared = suite::FilePlaces(places.appFolder(), {}, true).readPath(name);
  PhoneticsTable table;
  ReadPhoneticsTable(shared, table);
  const std::string own = places.readPath(name);
  if (own != shared) {
    PhoneticsTable users;
    ReadPhoneticsTable(own, users);
    table.merge(users);
  }
  return table;
}

std::string PhoneticsPathBeside(const std::string& bookPath) {
  const auto slash = bookPath.rfind('/');
  const std::string name(kPhoneticsFileName);
  return slash == std::string::npos ? name : bookPath.substr(0, slash + 1) + name;
}

suite::FileStatus UpdatePhoneticsTable(const std::string& path, const PhoneticsTable& before,
                                       const PhoneticsTable& after) {
  PhoneticsTable table;
  if (const suite::FileStatus read = ReadPhoneticsTable(path, table).whole(); !read.ok()) {
    return read;
  }
  const PhoneticsTable old = table;
  table.apply(before, after);
  if (table == old) return suite::FileStatus::success(path);
  return suite::ReplaceFile(path, table.text());
}

}  // namespace course
