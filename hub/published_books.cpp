// SPDX-License-Identifier: MIT
#include "published_books.h"

#include <sodium.h>

#include <algorithm>

#include "pg_array.h"

namespace hub {
namespace {

// Bytes travel to and from bytea as hex: parameters and results here are text.
std::string Hex(const std::string& bytes) {
  std::string hex(bytes.size() * 2 + 1, '\0');
  sodium_bin2hex(hex.data(), hex.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                 bytes.size());
  hex.pop_back();
  return hex;
}

std::string Unhex(const std::string& hex) {
  std::string bytes(hex.size() / 2, '\0');
  std::size_t length = 0;
  if (sodium_hex2bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), hex.data(),
                     hex.size(), nullptr, &length, nullptr) != 0) {
    throw std::runtime_error("a stored book is not hex");
  }
  bytes.resize(length);
  return bytes;
}

}  // namespace

Publication PublishIfUsable(Database& database, std::int64_t classId, int book,
                            const std::string& content, const std::string& phonetics,
                            const std::string& publisher) {
  Publication publication{studysync::CheckBookFile(content), 0};
  if (!publication.check.usable()) return publication;
  course::PhoneticsTable table;
  if (const auto bad = course::ParsePhoneticsTable(phonetics, table); !bad.empty()) {
    publication.check.why =
        "its phonetics, line " + std::to_string(bad.front().number) + ": " + bad.front().reason;
    return publication;
  }
  if (phonetics.size() > studysync::kMaxBookPhoneticsBytes) {
    publication.check.why = "its phonetics are larger than a handed-out book's may be (" +
                            std::to_string(studysync::kMaxBookPhoneticsBytes) + " bytes)";
    return publication;
  }
  const Rows rows = database.run(
      "INSERT INTO books (class_id, book, version, content, phonetics, published_by)"
      " VALUES ($1, $2, nextval('book_versions'), decode($3, 'hex'), $4, $5)"
      " ON CONFLICT (class_id, book) DO UPDATE SET version = EXCLUDED.version,"
      " content = EXCLUDED.content, phonetics = EXCLUDED.phonetics, published = now(),"
      " published_by = EXCLUDED.published_by"
      " RETURNING version",
      {std::to_string(classId), std::to_string(book), Hex(content), table.text(), publisher});
  publication.version = rows.integer(0, 0);
  return publication;
}

std::vector<studysync::BookVersion> NewerBooks(Database& database, std::int64_t learnerId,
                                               const std::vector<studysync::BookVersion>& had) {
  const Rows rows = database.run(
      "SELECT b.book, b.version FROM books b JOIN learners l ON l.class_id = b.class_id"
      " WHERE l.id = $1 ORDER BY b.book",
      {std::to_string(learnerId)});
  std::vector<studysync::BookVersion> newer;
  for (int row = 0; row < rows.size(); ++row) {
    const studysync::BookVersion current{static_cast<int>(rows.integer(row, 0)),
                                         rows.integer(row, 1)};
    const auto old =
        std::find_if(had.begin(), had.end(), [&](const auto& h) { return h.book == current.book; });
    if (old == had.end() || old->version < current.version) newer.push_back(current);
  }
  return newer;
}

std::vector<ClassBook> ClassBooks(Database& database, std::int64_t classId,
                                  const std::vector<std::int64_t>& versionsHeld) {
  const Rows rows = database.run(
      "SELECT book, version, CASE WHEN version = ANY($2::bigint[]) THEN NULL"
      " ELSE encode(content, 'hex') END FROM books WHERE class_id = $1 ORDER BY book",
      {std::to_string(classId), IntegerArray(versionsHeld)});
  std::vector<ClassBook> books;
  for (int row = 0; row < rows.size(); ++row) {
    ClassBook book{static_cast<int>(rows.integer(row, 0)), rows.integer(row, 1), std::nullopt};
    if (!rows.isNull(row, 2)) book.content = Unhex(rows.text(row, 2));
    books.push_back(std::move(book));
  }
  return books;
}

std::optional<std::string> BookContent(Database& database, std::int64_t learnerId,
                                       const studysync::BookVersion& wanted,
                                       studysync::BookPart part) {
  const bool courseFile = part == studysync::BookPart::CourseFile;
  const std::string query = std::string("SELECT ") +
                            (courseFile ? "encode(b.content, 'hex')" : "b.phonetics") +
                            " FROM books b JOIN learners l ON l.class_id = b.class_id"
                            " WHERE l.id = $1 AND b.book = $2 AND b.version = $3";
  const Rows rows = database.run(
      query.c_str(),
      {std::to_string(learnerId), std::to_string(wanted.book), std::to_string(wanted.version)});
  if (rows.size() == 0) return std::nullopt;
  return courseFile ? Unhex(rows.text(0, 0)) : rows.text(0, 0);
}

}  // namespace hub
