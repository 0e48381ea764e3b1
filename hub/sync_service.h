// SPDX-License-Identifier: MIT
// What the server answers to a join or a sync, apart from HTTP itself: each request is
// decoded, checked, done against the database and answered with a status and a body.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "attempt_limiter.h"
#include "database.h"
#include "sync_messages.h"

namespace hub {

struct Answer {
  int status = 200;
  std::string body;  // JSON: the reply, or {"error": "..."}; a book's bytes
  std::chrono::seconds retryAfter{0};
  const char* contentType = "application/json";
};

class SyncService {
 public:
  explicit SyncService(std::string conninfo);

  Answer join(std::string_view body, const std::string& address);
  // `authorization`: the request's Authorization header.
  Answer sync(std::string_view authorization, std::string_view body, const std::string& address);
  // A teacher hands a book out to one of their own classes.
  Answer publish(std::string_view body, const std::string& address);
  // One version of one of the class's books: the course file's bytes, or the phonetics
  // table of its words.
  Answer book(std::string_view authorization, std::string_view body, const std::string& address,
              studysync::BookPart part);

 private:
  template <typename Work>
  Answer withDatabase(Work work);
  // Runs `work` with the device the request's token names, or refuses the request.
  template <typename Work>
  Answer withDevice(std::string_view authorization, const std::string& address, Work work);
  Answer refusedSecret(int status, const std::string& address, const char* why);

  std::string conninfo_;
  // Five wrong secrets (join secrets or tokens) an address within ten minutes, then 429.
  AttemptLimiter wrongSecrets_{5, std::chrono::minutes(10)};
};

}  // namespace hub
