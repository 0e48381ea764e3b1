// SPDX-License-Identifier: MIT
#include "hub_link.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

#include "file_io.h"
#include "join_code.h"

namespace studysync {

namespace {

constexpr std::uint64_t kMaxLinkBytes = 64 * 1024;

// The pin, the host and the port as a join code would carry them.
bool AddressAndPinAreSound(const HubLink& link) {
  std::string why;
  const std::string aSecret(22, 'A');
  return ParseJoinCode(link.address + '/' + link.pin + '/' + aSecret, why).has_value();
}

}  // namespace

std::string HubLinkPathFor(const std::string& storePath) {
  const auto slash = storePath.rfind('/');
  if (slash == std::string::npos) return kHubLinkFileName;
  return storePath.substr(0, slash + 1) + kHubLinkFileName;
}

std::optional<HubLink> ReadHubLink(const std::string& path, std::string& why) {
  std::vector<std::uint8_t> bytes;
  std::uint64_t size = 0;
  const suite::FileStatus read = suite::ReadFilePrefix(path, kMaxLinkBytes, bytes, size);
  if (!read.ok()) {
    why = read.reason;
    return std::nullopt;
  }
  if (size > kMaxLinkBytes) {
    why = "the file is too large to be a link to a class server";
    return std::nullopt;
  }
  const auto json = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
  HubLink link;
  try {
    link.address = json.at("address").get<std::string>();
    link.pin = json.at("pin").get<std::string>();
    link.learner = json.at("learner").get<std::int64_t>();
    link.token = json.at("token").get<std::string>();
    link.number = json.at("number").get<std::string>();
    link.name = json.at("name").get<std::string>();
    link.className = json.at("class").get<std::string>();
    // Links written before books were handed out have none.
    if (json.contains("books")) link.books = json.at("books").get<decltype(link.books)>();
  } catch (const nlohmann::json::exception&) {
    why = "not a link to a class server (damaged or of another program)";
    return std::nullopt;
  }
  const bool booksSound =
      std::all_of(link.books.begin(), link.books.end(), [](std::int64_t v) { return v >= 0; });
  if (link.learner <= 0 || link.token.empty() || !AddressAndPinAreSound(link) || !booksSound) {
    why = "the link to the class server is damaged (address, pin, learner, token or books)";
    return std::nullopt;
  }
  return link;
}

suite::FileStatus WriteHubLink(const std::string& path, const HubLink& link) {
  const nlohmann::json json = {{"address", link.address}, {"pin", link.pin},
                               {"learner", link.learner}, {"token", link.token},
                               {"number", link.number},   {"name", link.name},
                               {"class", link.className}, {"books", link.books}};
  // The replacement keeps the mode of the file it replaces: make that 0600 first, so the
  // token is never readable by others, not even for a moment.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return suite::FileStatus::fromErrno(path, errno);
  const bool narrowed = ::fchmod(fd, 0600) == 0;
  const int error = errno;
  ::close(fd);
  if (!narrowed) return suite::FileStatus::fromErrno(path, error);
  return suite::ReplaceFile(path, json.dump(2) + '\n');
}

}  // namespace studysync
