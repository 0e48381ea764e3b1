// SPDX-License-Identifier: MIT
// `studyhub serve`: HTTPS only, a pool of threads, until SIGTERM or SIGINT.
#pragma once

#include <iosfwd>
#include <string>

namespace hub {

struct ServeSettings {
  std::string conninfo;
  std::string host;  // to listen on
  int port = 0;
  std::string certificate;
  std::string key;
};

// Keeps the address and the certificate's pin in the database (for join codes; tried
// again in the background while the database cannot be reached) and serves. The exit
// status: 0 after a stop signal, 2 when the certificate or the port cannot be used.
int Serve(const ServeSettings& settings, std::ostream& err);

}  // namespace hub
