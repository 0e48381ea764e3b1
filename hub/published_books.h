// SPDX-License-Identifier: MIT
// The books handed out to each class: the latest publication of each of the four, which
// every learner of the class receives at their next sync.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "book_check.h"
#include "database.h"
#include "sync_messages.h"

namespace hub {

struct Publication {
  studysync::BookCheck check;
  std::int64_t version = 0;  // the new one; 0 when the book was refused
};

// Replaces the class's book `book` with `content` and the phonetics table `phonetics` (UTF-8,
// may be empty) when the chooser can use the book whole and every line of the table is
// good; otherwise nothing changes and `check` says why.
Publication PublishIfUsable(Database& database, std::int64_t classId, int book,
                            const std::string& content, const std::string& phonetics,
                            const std::string& publisher);

// The books of the learner's class newer than those the device has.
std::vector<studysync::BookVersion> NewerBooks(Database& database, std::int64_t learnerId,
                                               const std::vector<studysync::BookVersion>& had);

struct ClassBook {
  int book = 0;
  std::int64_t version = 0;
  std::optional<std::string> content;  // not read when the caller has that version already
};

// The class's books in book order, read together with their versions so that a book
// published meanwhile cannot pair one version with another's bytes.
std::vector<ClassBook> ClassBooks(Database& database, std::int64_t classId,
                                  const std::vector<std::int64_t>& versionsHeld);

// That part of that version of the book, when it is still the one the learner's class has.
std::optional<std::string> BookContent(Database& database, std::int64_t learnerId,
                                       const studysync::BookVersion& wanted,
                                       studysync::BookPart part);

}  // namespace hub
