// SPDX-License-Identifier: MIT
#include "workbook_reader.h"

#include <expat.h>
#include <unzip.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chinese_text.h"
#include "utf8.h"

namespace editor {
namespace {

// No part of a word list's workbook comes near this unpacked; a larger one is a zip bomb.
constexpr std::uint64_t kLargestPart = 64u << 20;
// Cells further right than this hold no entry text.
constexpr std::size_t kMostColumns = 64;

const Refusal kDamaged{0, u"工作簿已损坏，读不出来：请在 Excel 或 WPS 中另存为 CSV",
                       "the workbook is damaged and cannot be read: save the list as CSV in "
                       "Excel or WPS"};

// The workbook's bytes as a file minizip reads from.
struct MemoryFile {
  std::string_view bytes;
  std::uint64_t at = 0;
};

voidpf OpenMemory(voidpf opaque, const void*, int) {
  return opaque;
}

uLong ReadMemory(voidpf, voidpf stream, void* buffer, uLong size) {
  auto* file = static_cast<MemoryFile*>(stream);
  const auto count = static_cast<uLong>(std::min<std::uint64_t>(
      size, file->bytes.size() - std::min(file->at, std::uint64_t(file->bytes.size()))));
  std::memcpy(buffer, file->bytes.data() + file->at, count);
  file->at += count;
  return count;
}

uLong WriteMemory(voidpf, voidpf, const void*, uLong) {
  return 0;
}

ZPOS64_T TellMemory(voidpf, voidpf stream) {
  return static_cast<MemoryFile*>(stream)->at;
}

long SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* file = static_cast<MemoryFile*>(stream);
  const std::uint64_t base = origin == ZLIB_FILEFUNC_SEEK_CUR   ? file->at
                             : origin == ZLIB_FILEFUNC_SEEK_END ? file->bytes.size()
                                                                : 0;
  if (offset > file->bytes.size() || base + offset > file->bytes.size()) return -1;
  file->at = base + offset;
  return 0;
}

int CloseMemory(voidpf, voidpf) {
  return 0;
}

int MemoryError(voidpf, voidpf) {
  return 0;
}

struct ZipCloser {
  void operator()(void* zip) const { unzClose(zip); }
};
using Zip = std::unique_ptr<void, ZipCloser>;

// What a part's XML holds, as expat hands it over: element names without their prefix.
class XmlReader {
 public:
  virtual ~XmlReader() = default;
  virtual void start(std::string_view name, const char** attributes) = 0;
  virtual void end(std::string_view name) = 0;
  virtual void text(std::string_view text) = 0;
  // True once the reader needs no more of the part.
  bool done = false;
};

std::string_view LocalName(const char* name) {
  std::string_view local(name);
  const auto colon = local.rfind(':');
  return colon == std::string_view::npos ? local : local.substr(colon + 1);
}

std::string_view Attribute(const char** attributes, std::string_view name) {
  for (std::size_t i = 0; attributes[i]; i += 2) {
    if (LocalName(attributes[i]) == name) return attributes[i + 1];
  }
  return {};
}

// Reads the part `name` of `zip` through `reader`; false when it is missing or broken.
bool ReadPart(void* zip, const char* name, XmlReader& reader) {
  if (unzLocateFile(zip, name, 1) != UNZ_OK) return false;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
      info.uncompressed_size > kLargestPart || unzOpenCurrentFile(zip) != UNZ_OK) {
    return false;
  }
  std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate("UTF-8"),
                                                                      XML_ParserFree);
  XML_SetUserData(parser.get(), &reader);
  XML_SetElementHandler(
      parser.get(),
      [](void* data, const XML_Char* element, const XML_Char** attributes) {
        static_cast<XmlReader*>(data)->start(LocalName(element), attributes);
      },
      [](void* data, const XML_Char* element) {
        static_cast<XmlReader*>(data)->end(LocalName(element));
      });
  XML_SetCharacterDataHandler(parser.get(), [](void* data, const XML_Char* text, int length) {
    static_cast<XmlReader*>(data)->text(std::string_view(text, static_cast<std::size_t>(length)));
  });
  std::array<char, 1 << 16> buffer{};
  std::uint64_t total = 0;
  bool ok = true;
  while (ok && !reader.done) {
    const int read = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
    total += static_cast<std::uint64_t>(std::max(read, 0));
    ok = read >= 0 && total <= kLargestPart &&
         XML_Parse(parser.get(), buffer.data(), read, read == 0) == XML_STATUS_OK;
    if (read == 0) break;
  }
  const bool closed = unzCloseCurrentFile(zip) == UNZ_OK || reader.done;
  return (ok || reader.done) && closed;
}

// The text of <t> elements inside each <si> (rich text runs joined, phonetic guides left out).
class SharedStrings : public XmlReader {
 public:
  std::vector<std::u16string> strings;

  void start(std::string_view name, const char**) override {
    if (name == "si") item_.clear();
    if (name == "rPh") ++guide_;
    inText_ = name == "t";
  }
  void end(std::string_view name) override {
    if (name == "si") strings.push_back(course::FromUtf8(item_).value_or(std::u16string()));
    if (name == "rPh") --guide_;
    if (name == "t") inText_ = false;
  }
  void text(std::string_view text) override {
    if (inText_ && guide_ == 0) item_ += text;
  }

 private:
  std::string item_;
  int guide_ = 0;
  bool inText_ = false;
};

// The sheet part of the workbook's first sheet, from its relationships.
class FirstSheet : public XmlReader {
 public:
  std::string id;
  void start(std::string_view name, const char** attributes) override {
    if (name == "sheet" && id.empty()) {
      id = Attribute(attributes, "id");
      done = true;
    }
  }
  void end(std::string_view) override {}
  void text(std::string_view) override {}
};

class Relationships : public XmlReader {
 public:
  explicit Relationships(std::string id) : id_(std::move(id)) {}
  std::string target;
  void start(std::string_view name, const char** attributes) override {
    if (name == "Relationship" && Attribute(attributes, "Id") == id_) {
      target = Attribute(attributes, "Target");
      done = true;
    }
  }
  void end(std::string_view) override {}
  void text(std::string_view) override {}

 private:
  std::string id_;
};

// "B12" → column 1; nullopt for a reference without letters.
std::optional<std::size_t> ColumnOf(std::string_view reference) {
  std::size_t column = 0;
  std::size_t letters = 0;
  for (const char c : reference) {
    if (c < 'A' || c > 'Z') break;
    column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
    if (++letters > 3) return std::nullopt;
  }
  if (letters == 0) return std::nullopt;
  return column - 1;
}

std::size_t NumberOf(std::string_view digits, std::size_t otherwise) {
  std::size_t n = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9' || n > 10'000'000) return otherwise;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  return digits.empty() ? otherwise : n;
}

class Sheet : public XmlReader {
 public:
  Sheet(const std::vector<std::u16string>& shared, ImportTable& table)
      : shared_(shared), table_(table) {}

  void start(std::string_view name, const char** attributes) override {
    if (name == "row") {
      // Rows numbered out of order are taken in the order they come.
      const std::size_t previous = table_.rows.empty() ? 0 : table_.rows.back().line;
      row_ = {{}, std::max(NumberOf(Attribute(attributes, "r"), row_.line + 1), previous + 1)};
      column_ = 0;
    } else if (name == "c") {
      const auto reference = Attribute(attributes, "r");
      column_ = ColumnOf(reference).value_or(column_);
      type_ = Attribute(attributes, "t");
      value_.clear();
    } else if (name == "v" || (name == "t" && type_ == "inlineStr")) {
      inValue_ = true;
    } else if (name == "rPh") {
      ++guide_;
    }
  }

  void end(std::string_view name) override {
    if (name == "v" || name == "t") {
      inValue_ = false;
    } else if (name == "rPh") {
      --guide_;
    } else if (name == "c") {
      keepCell();
      ++column_;
    } else if (name == "row") {
      keepRow();
    }
  }

  void text(std::string_view text) override {
    if (inValue_ && guide_ == 0) value_ += text;
  }

 private:
  void keepCell() {
    if (column_ >= kMostColumns || value_.empty()) return;
    std::u16string cell;
    if (type_ == "s") {
      const std::size_t index = NumberOf(value_, shared_.size());
      if (index < shared_.size()) cell = shared_[index];
    } else {
      cell = course::FromUtf8(value_).value_or(std::u16string());
    }
    if (Tidied(cell).empty()) return;
    if (row_.fields.size() <= column_) row_.fields.resize(column_ + 1);
    row_.fields[column_] = std::move(cell);
  }

  void keepRow() {
    if (row_.fields.empty()) return;
    if (table_.rows.size() == kMostRows) {
      table_.cut = true;
      done = true;
      return;
    }
    table_.rows.push_back(std::move(row_));
    row_.fields.clear();
  }

  const std::vector<std::u16string>& shared_;
  ImportTable& table_;
  ImportRow row_;
  std::size_t column_ = 0;
  std::string type_;
  std::string value_;
  bool inValue_ = false;
  int guide_ = 0;
};

// "worksheets/sheet1.xml" or "/xl/worksheets/sheet1.xml" as the zip names it.
std::string PartName(const std::string& target) {
  if (target.starts_with('/')) return target.substr(1);
  return "xl/" + target;
}

}  // namespace

bool LooksLikeWorkbook(std::string_view bytes) {
  return bytes.starts_with(std::string_view("PK\x03\x04", 4));
}

ImportTable ReadWorkbook(std::string_view bytes) {
  ImportTable table;
  table.format = ImportFormat::Workbook;
  MemoryFile file{bytes};
  zlib_filefunc64_def io{OpenMemory, ReadMemory,  WriteMemory, TellMemory,
                         SeekMemory, CloseMemory, MemoryError, &file};
  Zip zip(unzOpen2_64("workbook", &io));
  if (!zip) {
    table.refusal = kDamaged;
    return table;
  }
  FirstSheet first;
  std::string sheetPart = "xl/worksheets/sheet1.xml";
  if (ReadPart(zip.get(), "xl/workbook.xml", first) && !first.id.empty()) {
    Relationships relationships(first.id);
    if (ReadPart(zip.get(), "xl/_rels/workbook.xml.rels", relationships) &&
        !relationships.target.empty()) {
      sheetPart = PartName(relationships.target);
    }
  }
  SharedStrings shared;
  if (unzLocateFile(zip.get(), "xl/sharedStrings.xml", 1) == UNZ_OK &&
      !ReadPart(zip.get(), "xl/sharedStrings.xml", shared)) {
    table.refusal = kDamaged;
    return table;
  }
  Sheet sheet(shared.strings, table);
  if (!ReadPart(zip.get(), sheetPart.c_str(), sheet)) {
    table.rows.clear();
    table.refusal = kDamaged;
  }
  return table;
}

}  // namespace editor
