// SPDX-License-Identifier: MIT
// A device's side for the server tests: HTTPS through cpp-httplib's client, the certificate
// pinned by the server's own file, and the messages encoded as the devices encode them.
#pragma once

#include <cstdint>
#include <string>

#include "sync_messages.h"

namespace hubtest {

struct HttpAnswer {
  int status = 0;  // 0 when nothing answered
  std::string body;
  std::string retryAfter;
};

class HubClient {
 public:
  HubClient(int port, std::string certificate);

  HttpAnswer post(const std::string& path, const std::string& body,
                  const std::string& token = {}) const;
  HttpAnswer get(const std::string& path) const;
  // The same request without TLS.
  HttpAnswer postPlain(const std::string& path, const std::string& body) const;
  HttpAnswer join(const std::string& secret, const std::string& device) const;
  HttpAnswer sync(const std::string& token, const studysync::SyncRequest& request) const;

 private:
  int port_;
  std::string certificate_;
};

// A device id made from a small number, so that tests can tell devices apart.
std::string DeviceId(int n);
// `count` answers of `device` numbered from `firstSeq`.
std::vector<studysync::SyncAnswer> Answers(const std::string& device, std::int64_t firstSeq,
                                           int count);

}  // namespace hubtest
