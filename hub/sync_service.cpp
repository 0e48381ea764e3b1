// SPDX-License-Identifier: MIT
#include "sync_service.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "published_books.h"
#include "roster.h"
#include "sync_rules.h"
#include "sync_store.h"
#include "teachers.h"

namespace hub {
namespace {

Answer Error(int status, const std::string& why) {
  return {status, nlohmann::json{{"error", why}}.dump(), std::chrono::seconds(0)};
}

Answer TooMany(std::chrono::seconds wait, const char* why) {
  Answer answer = Error(429, why);
  answer.retryAfter = wait;
  return answer;
}

// Each of the server's threads keeps its own connection and makes a new one when it is
// gone; none is shared between threads.
std::unique_ptr<Database>& ThreadConnection() {
  thread_local std::unique_ptr<Database> connection;
  return connection;
}

}  // namespace

SyncService::SyncService(std::string conninfo) : conninfo_(std::move(conninfo)) {}

template <typename Work>
Answer SyncService::withDatabase(Work work) {
  auto& connection = ThreadConnection();
  // A connection kept from before may have died with a restarted database: that is found
  // only by using it, at its first statement, before anything was done, so one such
  // failure is tried again on a new connection.
  for (int attempt = 0;; ++attempt) {
    const bool fresh = !connection;
    try {
      if (!connection) connection = std::make_unique<Database>(conninfo_);
      return work(*connection);
    } catch (const DatabaseError& error) {
      if (!error.unreachable()) {
        std::cerr << "studyhub: database: " << error.what() << '\n';
        return Error(500, "the database failed");
      }
      connection.reset();
      if (fresh || attempt > 0) {
        return Error(503, "the database cannot be reached; try again later");
      }
    }
  }
}

Answer SyncService::refusedSecret(int status, const std::string& address, const char* why) {
  wrongSecrets_.failed(address, AttemptLimiter::Clock::now());
  return Error(status, why);
}

Answer SyncService::join(std::string_view body, const std::string& address) {
  const auto wait = wrongSecrets_.waitFor(address, AttemptLimiter::Clock::now());
  if (wait.count() > 0) return TooMany(wait, "too many wrong join codes; try again later");
  std::string why;
  const auto request = studysync::DecodeJoinRequest(body, why);
  if (!request) return Error(400, why);
  if (const RequestCheck check = CheckJoinRequest(*request);
      check.verdict != RequestVerdict::Accepted) {
    return Error(400, check.why);
  }
  return withDatabase([&](Database& database) {
    const auto reply = Join(database, *request);
    if (!reply) return refusedSecret(403, address, "the join code is unknown, used or expired");
    return Answer{200, studysync::Encode(*reply), std::chrono::seconds(0)};
  });
}

template <typename Work>
Answer SyncService::withDevice(std::string_view authorization, const std::string& address,
                               Work work) {
  constexpr std::string_view kBearer = "Bearer ";
  if (!authorization.starts_with(kBearer) || authorization.size() == kBearer.size()) {
    return Error(401, "no token");
  }
  const std::string token(authorization.substr(kBearer.size()));
  return withDatabase([&](Database& database) {
    const auto device = FindDevice(database, token);
    if (!device) {
      const auto wait = wrongSecrets_.waitFor(address, AttemptLimiter::Clock::now());
      if (wait.count() > 0) return TooMany(wait, "too many unknown tokens; try again later");
      return refusedSecret(401, address, "the token is unknown");
    }
    return work(database, *device);
  });
}

Answer SyncService::sync(std::string_view authorization, std::string_view body,
                         const std::string& address) {
  std::string why;
  const auto request = studysync::DecodeSyncRequest(body, why);
  if (!request) return Error(400, why);
  return withDevice(authorization, address, [&](Database& database, const DeviceOfToken& device) {
    const RequestCheck check = CheckSyncRequest(*request, device.learner, device.device);
    if (check.verdict == RequestVerdict::Malformed) return Error(400, check.why);
    if (check.verdict == RequestVerdict::Forbidden) return Error(403, check.why);
    studysync::SyncReply reply = Sync(database, device, *request);
    reply.books = NewerBooks(database, device.learner, request->books);
    return Answer{200, studysync::Encode(reply), std::chrono::seconds(0)};
  });
}

Answer SyncService::book(std::string_view authorization, std::string_view body,
                         const std::string& address, studysync::BookPart part) {
  std::string why;
  const auto request = studysync::DecodeBookRequest(body, why);
  if (!request) return Error(400, why);
  return withDevice(authorization, address, [&](Database& database, const DeviceOfToken& device) {
    auto content = BookContent(database, device.learner, request->wanted, part);
    if (!content) return Error(404, "the class has no such book (or a newer one)");
    Answer answer{200, std::move(*content), std::chrono::seconds(0)};
    answer.contentType = part == studysync::BookPart::CourseFile ? "application/octet-stream"
                                                                 : "text/plain; charset=utf-8";
    return answer;
  });
}

Answer SyncService::publish(std::string_view body, const std::string& address) {
  const auto wait = wrongSecrets_.waitFor(address, AttemptLimiter::Clock::now());
  if (wait.count() > 0) return TooMany(wait, "too many wrong passwords; try again later");
  std::string why;
  const auto request = studysync::DecodePublishRequest(body, why);
  if (!request) return Error(400, why);
  return withDatabase([&](Database& database) {
    const auto teacher = CheckTeacher(database, request->teacher, request->password);
    if (!teacher) return refusedSecret(401, address, "the teacher's name or password is wrong");
    // A one-time password only opens the class page, where it is replaced.
    if (teacher->mustChangePassword) {
      return Error(409, "sign in on the class page first and choose a password of your own");
    }
    const auto group = FindClass(database, request->className);
    if (!group ||
        !std::binary_search(teacher->classIds.begin(), teacher->classIds.end(), group->id)) {
      return Error(403, "the class is not this teacher's");
    }
    const Publication done = PublishIfUsable(database, group->id, request->book, request->content,
                                             request->phonetics, teacher->name);
    if (!done.check.usable()) return Error(422, done.check.why);
    const studysync::PublishReply reply{done.version, static_cast<std::int64_t>(done.check.lessons),
                                        static_cast<std::int64_t>(done.check.entries)};
    return Answer{200, studysync::Encode(reply), std::chrono::seconds(0)};
  });
}

}  // namespace hub
