// SPDX-License-Identifier: MIT
#include "hub_commands.h"

#include <unistd.h>

#include <climits>
#include <ostream>

#include "book_delivery.h"
#include "file_io.h"
#include "hub_exchange.h"
#include "hub_link.h"
#include "join_code.h"
#include "open_store.h"
#include "utc_time.h"

namespace studytool {

namespace {

constexpr int kUnreachable = 3;

int ExitFor(const studysync::HubFailure& failure) {
  using Kind = studysync::HubFailure::Kind;
  switch (failure.kind) {
    case Kind::Unreachable:
      return kUnreachable;
    case Kind::Store:
      return 2;
    default:
      return 1;
  }
}

// The store to write, or nothing with the reason said.
std::unique_ptr<study::ProgressStore> OpenToWrite(const std::string& path, const char* command,
                                                  std::ostream& err, Missing missing) {
  study::OpenResult result;
  auto store = OpenExisting(path, command, study::NowMillis(), err, study::StoreAccess::Write,
                            result, missing);
  if (store && result.outcome == study::OpenResult::Outcome::ReadOnly) {
    err << "studytool " << command << ": cannot write " << path << ": the store is read-only\n";
    return nullptr;
  }
  return store;
}

std::string Who(const studysync::HubLink& link) {
  return link.name + " (" + link.number + ") of " + link.className + " at " + link.address;
}

}  // namespace

std::string ComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "unknown";
  return name;
}

int Join(const std::string& code, const std::string& storePath, const std::string& deviceName,
         std::ostream& out, std::ostream& err) {
  std::string why;
  const auto parsed = studysync::ParseJoinCode(code, why);
  if (!parsed) {
    err << "studytool join: not a join code: " << why << '\n';
    return 2;
  }
  const auto store = OpenToWrite(storePath, "join", err, Missing::Made);
  if (!store) return 2;
  const study::SyncStore& device = *store;
  studysync::HubLink link;
  link.address = studysync::FormatJoinCode(*parsed);
  link.address.resize(link.address.find('/'));
  link.pin = parsed->pin;
  // The store's cursor counts one learner's items on one server: joining it to another
  // would skip what that one has, and send this learner's answers as another's.
  const std::string linkPath = studysync::HubLinkPathFor(storePath);
  const auto before = studysync::ReadHubLink(linkPath, why);
  if (before && before->address != link.address) {
    err << "studytool join: " << storePath << " already follows " << Who(*before)
        << "; a store keeps one learner's progress with one server\n";
    return 2;
  }
  studysync::HubFailure failure;
  const auto joined = studysync::Join(studysync::HttpsPost({link.address, link.pin}),
                                      {parsed->secret, device.deviceId(), deviceName}, failure);
  if (!joined) {
    err << "studytool join: " << failure.why << '\n';
    return ExitFor(failure);
  }
  if (before && before->learner != joined->learner) {
    err << "studytool join: the code is " << joined->name << "'s (" << joined->number << "), but "
        << storePath << " follows " << Who(*before)
        << "; a store keeps one learner's progress with one server\n";
    return 2;
  }
  link.learner = joined->learner;
  link.token = joined->token;
  link.number = joined->number;
  link.name = joined->name;
  link.className = joined->className;
  if (const suite::FileStatus written = studysync::WriteHubLink(linkPath, link); !written.ok()) {
    err << "studytool join: cannot write " << written.message() << '\n';
    return 2;
  }
  out << "joined as " << Who(link) << "; 'studytool sync' brings the progress of the other"
      << " devices\n";
  return 0;
}

int Sync(const std::string& storePath, std::ostream& out, std::ostream& err) {
  std::string why;
  const std::string linkPath = studysync::HubLinkPathFor(storePath);
  auto link = studysync::ReadHubLink(linkPath, why);
  if (!link) {
    err << "studytool sync: no link to a class server at " << linkPath << " (" << why
        << "): 'studytool join CODE' makes one\n";
    return 2;
  }
  const auto store = OpenToWrite(storePath, "sync", err, Missing::Refused);
  if (!store) return 2;
  studysync::SyncCounts counts;
  studysync::HubFailure failure;
  const studysync::Post post = studysync::HttpsPost({link->address, link->pin});
  studysync::BookOffer books{studysync::BooksHad(*link), {}};
  int booksReceived = 0;
  // The books go where the store lies: the learner's own folder.
  const bool done =
      studysync::Synchronise(post, *store, link->learner, link->token, counts, failure, &books) &&
      studysync::ReceiveBooks(post, books.newer, suite::FolderOf(storePath), *link, linkPath,
                              booksReceived, failure);
  if (!done) {
    err << "studytool sync: " << failure.why;
    if (counts != studysync::SyncCounts{} || booksReceived > 0) {
      err << " (before that: sent " << counts.sent << ", received " << counts.received
          << ", withdrawn " << counts.withdrawn << ", books " << booksReceived << ")";
    }
    err << '\n';
    return ExitFor(failure);
  }
  out << "sent " << counts.sent << ", received " << counts.received << ", withdrawn "
      << counts.withdrawn << '\n'
      << "books received " << booksReceived << '\n';
  return 0;
}

}  // namespace studytool
