// SPDX-License-Identifier: MIT
// Joining the class server and synchronising with it, over any way of posting a request
// (the real one is HttpsPost), with what went wrong said plainly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "https_transport.h"
#include "sync_messages.h"
#include "sync_store.h"

namespace studysync {

struct HubFailure {
  enum class Kind {
    None,
    Unreachable,  // no connection or no reply, or the server is in trouble (5xx): try later
    Refused,      // the server said no (`status`)
    BadReply,     // the reply is not what the server should say
    Store,        // the learner's store could not be read or written
  };
  Kind kind = Kind::None;
  long status = 0;
  std::string why;  // English
  bool failed() const { return kind != Kind::None; }
};

// Asks the server to take this device in with the join code's secret.
std::optional<JoinReply> Join(const Post& post, const JoinRequest& request, HubFailure& failure);

struct SyncCounts {
  std::int64_t sent = 0;       // answers sent that the server did not have
  std::int64_t received = 0;   // answers from other devices new to the store
  std::int64_t withdrawn = 0;  // withdrawals sent that were new to the server, or taken in
  friend bool operator==(const SyncCounts&, const SyncCounts&) = default;
};

// Sends what the store has not sent and takes in what the learner's other devices sent,
// in turns until nothing is left either way. Killed anywhere, a later sync repeats safely:
// what the server already has it keeps once, and the store marks nothing before the server
// took it. `counts` holds what was done before a failure.
// The class's books: `had` goes with every request, `newer` is what the last reply offered.
struct BookOffer {
  std::vector<BookVersion> had;
  std::vector<BookVersion> newer;
};

bool Synchronise(const Post& post, study::SyncStore& store, std::int64_t learner,
                 const std::string& token, SyncCounts& counts, HubFailure& failure,
                 BookOffer* books = nullptr);

// That part of one version of one book, as the server sent it (unchecked). Nothing with
// `failure` set when it could not be had; nothing and no failure when the class no longer
// has that version (a newer one came meanwhile, offered at the next sync).
std::optional<std::string> FetchBook(const Post& post, const std::string& token,
                                     const BookVersion& wanted, BookPart part, HubFailure& failure);

}  // namespace studysync
