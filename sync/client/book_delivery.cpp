// SPDX-License-Identifier: MIT
#include "book_delivery.h"

#include "book_check.h"
#include "file_io.h"
#include "fixed_names.h"
#include "phonetics_table.h"

namespace studysync {

std::vector<BookVersion> BooksHad(const HubLink& link) {
  std::vector<BookVersion> had;
  for (int book = 1; book <= kPublishedBooks; ++book) {
    const std::int64_t version = link.books[static_cast<std::size_t>(book - 1)];
    if (version > 0) had.push_back({book, version});
  }
  return had;
}

namespace {

struct HandedOutBook {
  std::string content;
  course::PhoneticsTable phonetics;
};

// The book and its phonetics, each checked; nothing when the class no longer has that
// version or, with `failure` set, when it could not be had or used.
std::optional<HandedOutBook> FetchUsable(const Post& post, const std::string& token,
                                         const BookVersion& wanted, HubFailure& failure) {
  const auto unusable = [&](const std::string& why) {
    failure = {HubFailure::Kind::BadReply, 200,
               "book " + std::to_string(wanted.book) + " from the server cannot be used: " + why};
    return std::nullopt;
  };
  auto content = FetchBook(post, token, wanted, BookPart::CourseFile, failure);
  if (!content) return std::nullopt;
  if (const BookCheck check = CheckBookFile(*content); !check.usable()) return unusable(check.why);
  const auto phonetics = FetchBook(post, token, wanted, BookPart::Phonetics, failure);
  if (!phonetics) return std::nullopt;
  HandedOutBook book{std::move(*content), {}};
  if (const auto bad = course::ParsePhoneticsTable(*phonetics, book.phonetics); !bad.empty()) {
    return unusable("its phonetics, line " + std::to_string(bad.front().number) + ": " +
                    bad.front().reason);
  }
  return book;
}

bool Written(const suite::FileStatus& status, HubFailure& failure) {
  if (!status.ok()) failure = {HubFailure::Kind::Store, 0, "cannot write " + status.message()};
  return status.ok();
}

}  // namespace

bool ReceiveBooks(const Post& post, const std::vector<BookVersion>& newer,
                  const std::string& folder, HubLink& link, const std::string& linkPath,
                  int& received, HubFailure& failure) {
  for (const BookVersion& wanted : newer) {
    const auto book = FetchUsable(post, link.token, wanted, failure);
    if (failure.failed()) return false;
    if (!book) continue;
    const auto slot = static_cast<std::size_t>(wanted.book - 1);
    // The book first: a learner's phonetics table that cannot be updated (a line mistyped)
    // keeps nobody from the lessons, and the next sync tries the phonetics again.
    if (!Written(suite::ReplaceFile(folder + "/" + course::kBooks[slot].fileName, book->content),
                 failure) ||
        !Written(course::UpdatePhoneticsTable(
                     folder + "/" + std::string(course::kPhoneticsFileName), {}, book->phonetics),
                 failure)) {
      return false;
    }
    link.books[slot] = wanted.version;
    if (!Written(WriteHubLink(linkPath, link), failure)) return false;
    ++received;
  }
  return true;
}

}  // namespace studysync
