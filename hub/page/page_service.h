// SPDX-License-Identifier: MIT
// The teacher's class page: signing in and out, the forced new password, a teacher's
// classes and their three views, each also as CSV. HTTP itself is the caller's; this
// takes a request's parts and gives back the reply.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "attempt_limiter.h"
#include "database.h"
#include "handed_out_lessons.h"

namespace hub::page {

struct PageRequest {
  std::string method;
  std::string path;
  std::multimap<std::string, std::string> params;  // query and form fields
  std::string cookies;                             // the Cookie header
  std::string address;
};

struct PageReply {
  int status = 200;
  std::string contentType = "text/html; charset=utf-8";
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

class PageService {
 public:
  explicit PageService(std::string conninfo);
  PageReply handle(const PageRequest& request);

 private:
  PageReply answer(const PageRequest& request);
  PageReply signIn(Database& database, const PageRequest& request);
  PageReply signedIn(Database& database, const PageRequest& request);

  std::string conninfo_;
  // Ten wrong passwords within ten minutes, from one address or for one name, then a wait.
  AttemptLimiter wrongByAddress_{10, std::chrono::minutes(10)};
  AttemptLimiter wrongByName_{10, std::chrono::minutes(10)};
  HandedOutLessons handedOut_;
};

}  // namespace hub::page
