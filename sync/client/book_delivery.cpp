// SPDX-License-Identifier: MIT
#include "book_delivery.h"

#include "book_check.h"
#include "file_io.h"
#include "fixed_names.h"

namespace studysync {

std::vector<BookVersion> BooksHad(const HubLink& link) {
  std::vector<BookVersion> had;
  for (int book = 1; book <= kPublishedBooks; ++book) {
    const std::int64_t version = link.books[static_cast<std::size_t>(book - 1)];
    if (version > 0) had.push_back({book, version});
  }
  return had;
}

bool ReceiveBooks(const Post& post, const std::vector<BookVersion>& newer,
                  const std::string& folder, HubLink& link, const std::string& linkPath,
                  int& received, HubFailure& failure) {
  for (const BookVersion& wanted : newer) {
    const auto content = FetchBook(post, link.token, wanted, failure);
    if (failure.failed()) return false;
    if (!content) continue;
    const std::string fileName = course::kBooks[static_cast<std::size_t>(wanted.book - 1)].fileName;
    if (const BookCheck check = CheckBookFile(*content); !check.usable()) {
      failure = {
          HubFailure::Kind::BadReply, 200,
          "book " + std::to_string(wanted.book) + " from the server cannot be used: " + check.why};
      return false;
    }
    const std::string path = folder + "/" + fileName;
    if (const auto written = suite::ReplaceFile(path, *content); !written.ok()) {
      failure = {HubFailure::Kind::Store, 0, "cannot write " + written.message()};
      return false;
    }
    link.books[static_cast<std::size_t>(wanted.book - 1)] = wanted.version;
    if (const auto saved = WriteHubLink(linkPath, link); !saved.ok()) {
      failure = {HubFailure::Kind::Store, 0, "cannot write " + saved.message()};
      return false;
    }
    ++received;
  }
  return true;
}

}  // namespace studysync
