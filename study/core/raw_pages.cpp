// SPDX-License-Identifier: MIT
// The file format is SQLite's, as its documentation describes it (fileformat2.html).
#include "raw_pages.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string_view>

namespace study {
namespace {

constexpr std::string_view kMagic{"SQLite format 3\0", 16};
constexpr std::size_t kHeaderSize = 100;
constexpr std::size_t kWalHeaderSize = 32;
constexpr std::size_t kFrameHeaderSize = 24;
constexpr std::uint8_t kTableLeaf = 0x0D;
constexpr std::uint8_t kIndexLeaf = 0x0A;
constexpr std::uint8_t kTableInterior = 0x05;
constexpr std::uint8_t kIndexInterior = 0x02;
constexpr std::size_t kLeafHeaderSize = 8;
constexpr std::size_t kInteriorHeaderSize = 12;

std::string ReadAll(const std::string& path, std::size_t maxBytes = SIZE_MAX) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  char buffer[65536];
  while (bytes.size() < maxBytes && in.read(buffer, static_cast<std::streamsize>(std::min(
                                                        sizeof buffer, maxBytes - bytes.size())))
                                            .gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  return bytes;
}

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  }
  return value;
}

bool ValidPageSize(std::size_t size) {
  return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

// Bytes 16–17 of the header, where 1 stands for 65536.
std::size_t PageSizeIn(std::string_view header) {
  const std::size_t size = BigEndian(header, 16, 2);
  return size == 1 ? 65536 : size;
}

// Reads from a page, refusing to run past its end.
class Cursor {
 public:
  Cursor(std::string_view bytes, std::size_t at) : bytes_(bytes), at_(at) {}
  std::size_t at() const { return at_; }
  bool varint(std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < 9; ++i) {
      if (at_ >= bytes_.size()) return false;
      const auto byte = static_cast<std::uint8_t>(bytes_[at_++]);
      if (i == 8) {
        value = value << 8 | byte;
        return true;
      }
      value = value << 7 | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t at_;
};

std::int64_t SignedBigEndian(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = static_cast<std::uint8_t>(bytes[at]) & 0x80 ? ~std::uint64_t{0} : 0;
  for (std::size_t i = 0; i < width; ++i) {
    value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  }
  return static_cast<std::int64_t>(value);
}

// The size in the record's body of a value of serial type `type`; nothing for the two
// reserved types.
std::optional<std::size_t> BodySize(std::uint64_t type) {
  static constexpr std::size_t kIntegerSizes[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
  if (type <= 9) return kIntegerSizes[type];
  if (type <= 11) return std::nullopt;
  return static_cast<std::size_t>((type - 12) / 2);
}

// A record (a header of serial types, then the values) that fills `payload` exactly.
std::optional<std::vector<RawValue>> ParseRecord(std::string_view payload) {
  Cursor header(payload, 0);
  std::uint64_t headerSize = 0;
  if (!header.varint(headerSize) || headerSize > payload.size()) return std::nullopt;
  std::vector<RawValue> values;
  std::size_t body = static_cast<std::size_t>(headerSize);
  while (header.at() < headerSize) {
    std::uint64_t type = 0;
    if (!header.varint(type)) return std::nullopt;
    const auto size = BodySize(type);
    if (!size || *size > payload.size() - body) return std::nullopt;
    RawValue value;
    if (type >= 1 && type <= 6) {
      value.type = RawValue::Type::Integer;
      value.integer = SignedBigEndian(payload, body, *size);
    } else if (type == 7) {
      value.type = RawValue::Type::Real;
      const auto bits = static_cast<std::uint64_t>(SignedBigEndian(payload, body, 8));
      std::memcpy(&value.real, &bits, sizeof value.real);
    } else if (type == 8 || type == 9) {
      value.type = RawValue::Type::Integer;
      value.integer = type == 9 ? 1 : 0;
    } else if (type >= 12) {
      value.type = RawValue::Type::Text;
      value.text = std::string(payload.substr(body, *size));
    }
    body += *size;
    values.push_back(std::move(value));
  }
  if (header.at() != headerSize || body != payload.size()) return std::nullopt;
  return values;
}

// The leaf page's cells whose whole payload lies on the page (the store's rows are far
// below the size that would spill onto overflow pages).
void ReadLeaf(std::string_view page, std::uint32_t number, std::size_t headerAt, std::size_t usable,
              std::vector<RawRecord>& records) {
  const bool table = static_cast<std::uint8_t>(page[headerAt]) == kTableLeaf;
  const std::size_t cells = BigEndian(page, headerAt + 3, 2);
  const std::size_t pointers = headerAt + kLeafHeaderSize;
  if (pointers + 2 * cells > usable) return;
  const std::string_view content = page.substr(0, usable);
  for (std::size_t i = 0; i < cells; ++i) {
    const std::size_t cellAt = BigEndian(page, pointers + 2 * i, 2);
    if (cellAt < pointers + 2 * cells || cellAt >= usable) continue;
    Cursor cell(content, cellAt);
    std::uint64_t size = 0;
    RawRecord record;
    record.tableRow = table;
    record.page = number;
    std::uint64_t rowid = 0;
    if (!cell.varint(size) || (table && !cell.varint(rowid))) continue;
    if (size > usable - cell.at()) continue;
    record.rowid = static_cast<std::int64_t>(rowid);
    auto values = ParseRecord(content.substr(cell.at(), static_cast<std::size_t>(size)));
    if (!values) continue;
    record.values = std::move(*values);
    records.push_back(std::move(record));
  }
}

// The pages an interior page points to: each cell's left child, then the rightmost.
std::vector<std::uint32_t> Children(std::string_view page, std::size_t headerAt,
                                    std::size_t usable) {
  std::vector<std::uint32_t> children;
  const std::size_t cells = BigEndian(page, headerAt + 3, 2);
  const std::size_t pointers = headerAt + kInteriorHeaderSize;
  if (pointers + 2 * cells > usable) return children;
  for (std::size_t i = 0; i < cells; ++i) {
    const std::size_t cellAt = BigEndian(page, pointers + 2 * i, 2);
    if (cellAt >= pointers + 2 * cells && cellAt + 4 <= usable) {
      children.push_back(BigEndian(page, cellAt, 4));
    }
  }
  children.push_back(BigEndian(page, headerAt + 8, 4));
  return children;
}

// The pages the -wal's committed transactions wrote, the last image of each.
std::map<std::uint32_t, std::string_view> CommittedFrames(std::string_view wal,
                                                          std::size_t& pageSize) {
  std::map<std::uint32_t, std::string_view> committed;
  if (wal.size() < kWalHeaderSize) return committed;
  const std::uint32_t magic = BigEndian(wal, 0, 4);
  const std::size_t size = BigEndian(wal, 8, 4);
  if ((magic & ~1u) != 0x377f0682u || !ValidPageSize(size)) return committed;
  pageSize = size;
  std::map<std::uint32_t, std::string_view> pending;
  for (std::size_t at = kWalHeaderSize; at + kFrameHeaderSize + size <= wal.size();
       at += kFrameHeaderSize + size) {
    // A frame of an older use of the -wal carries other salts.
    if (wal.compare(at + 8, 8, wal.substr(16, 8)) != 0) break;
    pending[BigEndian(wal, at, 4)] = wal.substr(at + kFrameHeaderSize, size);
    if (BigEndian(wal, at + 4, 4) != 0) {
      for (const auto& [number, image] : pending) committed[number] = image;
      pending.clear();
    }
  }
  return committed;
}

// The pages on the free list (left there by deletions, holding rows no longer in use).
std::set<std::uint32_t> FreePages(std::string_view header,
                                  const std::vector<std::string_view>& pages) {
  std::set<std::uint32_t> free;
  for (std::uint32_t trunk = BigEndian(header, 32, 4);
       trunk >= 1 && trunk <= pages.size() && free.insert(trunk).second;) {
    const std::string_view page = pages[trunk - 1];
    if (page.size() < 8) break;
    const std::size_t leaves = BigEndian(page, 4, 4);
    for (std::size_t i = 0; i < leaves && 8 + 4 * i + 4 <= page.size(); ++i) {
      free.insert(BigEndian(page, 8 + 4 * i, 4));
    }
    trunk = BigEndian(page, 0, 4);
  }
  return free;
}

}  // namespace

std::optional<int> HeaderVersion(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char header[kHeaderSize];
  if (!in.read(header, sizeof header)) return std::nullopt;
  const std::string_view bytes(header, sizeof header);
  if (bytes.substr(0, kMagic.size()) != kMagic) return std::nullopt;
  return static_cast<int>(BigEndian(bytes, 60, 4));
}

std::set<std::uint32_t> RawContents::treeAt(std::uint32_t root) const {
  std::set<std::uint32_t> tree;
  std::vector<std::uint32_t> next{root};
  while (!next.empty()) {
    const std::uint32_t page = next.back();
    next.pop_back();
    if (!tree.insert(page).second) continue;
    if (const auto below = children.find(page); below != children.end()) {
      next.insert(next.end(), below->second.begin(), below->second.end());
    }
  }
  return tree;
}

RawContents ReadLeafRecords(const std::string& path, std::size_t maxBytes) {
  return ParseLeafRecords(ReadAll(path, maxBytes), ReadAll(path + "-wal"));
}

RawContents ParseLeafRecords(std::string_view file, std::string_view wal) {
  const bool hasHeader = file.size() >= kHeaderSize && file.compare(0, 16, kMagic) == 0 &&
                         ValidPageSize(PageSizeIn(file));
  // Without a header to tell, the -wal's page size or SQLite's default.
  std::size_t pageSize = hasHeader ? PageSizeIn(file) : 4096;
  const auto frames = CommittedFrames(wal, pageSize);
  const std::size_t reserved = hasHeader ? static_cast<std::uint8_t>(file[20]) : 0;
  const std::size_t usable = pageSize - std::min(reserved, pageSize - 480);

  // A page cut short at the file's end is read as far as it goes, zeros after it.
  std::string cutShort;
  std::vector<std::string_view> pages;
  for (std::size_t at = 0; at < file.size(); at += pageSize) {
    if (at + pageSize <= file.size()) {
      pages.push_back(file.substr(at, pageSize));
    } else {
      cutShort = std::string(file.substr(at)) + std::string(at + pageSize - file.size(), '\0');
      pages.push_back(cutShort);
    }
  }
  // The -wal can add no more pages than it has frames; a larger number is misread.
  const std::size_t mostPages = pages.size() + frames.size();
  for (const auto& [number, image] : frames) {
    if (number == 0 || number > mostPages) continue;
    if (number > pages.size()) pages.resize(number, std::string_view());
    pages[number - 1] = image;
  }
  std::set<std::uint32_t> free;
  if (!pages.empty() && pages[0].size() >= kHeaderSize && pages[0].substr(0, 16) == kMagic) {
    free = FreePages(pages[0], pages);
  }
  RawContents contents;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const std::string_view page = pages[i];
    const auto number = static_cast<std::uint32_t>(i + 1);
    const std::size_t headerAt = i == 0 ? kHeaderSize : 0;
    if (page.size() != pageSize || free.count(number) != 0) continue;
    const auto type = static_cast<std::uint8_t>(page[headerAt]);
    if (type == kTableLeaf || type == kIndexLeaf) {
      ReadLeaf(page, number, headerAt, usable, contents.records);
    } else if (type == kTableInterior || type == kIndexInterior) {
      contents.children[number] = Children(page, headerAt, usable);
    }
  }
  return contents;
}

}  // namespace study
