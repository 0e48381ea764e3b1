// SPDX-License-Identifier: MIT
#include "hub_exchange.h"

#include <future>

namespace studysync {

namespace {

// At most this much of what the server says about a refusal is repeated.
constexpr std::size_t kShownReplyBytes = 200;

// The server's own words, printable ASCII only and cut short: they come from the network.
std::string Shown(const std::string& body) {
  std::string shown;
  for (const char c : body.substr(0, kShownReplyBytes)) {
    shown += (c >= 0x20 && c < 0x7f) ? c : ' ';
  }
  return shown;
}

std::string StatusMeaning(long status) {
  switch (status) {
    case 400:
      return "the server could not read the request";
    case 401:
      return "the server does not know this device: join again with a new code";
    case 403:
      return "the server refused";
    case 413:
      return "the request was too large for the server";
    case 429:
      return "too many wrong join codes from this computer: try again later";
    case 503:
      return "the server cannot reach its database";
    default:
      return status >= 500 ? "the server is in trouble" : "the server refused";
  }
}

// The reply's body when the server answered 200, else nothing with `failure` set.
std::optional<std::string> Answered(const HttpReply& reply, HubFailure& failure) {
  using Outcome = HttpReply::Outcome;
  if (reply.outcome == Outcome::Unreachable) {
    failure = {HubFailure::Kind::Unreachable, 0, "cannot reach the class server: " + reply.why};
    return std::nullopt;
  }
  if (reply.outcome == Outcome::TooLarge) {
    failure = {HubFailure::Kind::BadReply, 0, reply.why};
    return std::nullopt;
  }
  if (reply.status == 200) return reply.body;
  const auto kind = reply.status >= 500 ? HubFailure::Kind::Unreachable : HubFailure::Kind::Refused;
  std::string why = "the class server answered " + std::to_string(reply.status) + " (" +
                    StatusMeaning(reply.status) + ")";
  if (const std::string said = Shown(reply.body); !said.empty()) why += ": " + said;
  failure = {kind, reply.status, why};
  return std::nullopt;
}

bool StoreFailed(const study::StoreFailure& store, HubFailure& failure) {
  if (!store.failed()) return false;
  failure = {HubFailure::Kind::Store, 0, "the store: " + store.detail};
  return true;
}

// A store call that said no: its reason, or at least that it failed.
bool StoreRefused(const study::StoreFailure& store, const char* what, HubFailure& failure) {
  if (!StoreFailed(store, failure)) {
    failure = {HubFailure::Kind::Store, 0, std::string("the store: cannot ") + what};
  }
  return false;
}

// Whether a kind was sent up to the limit, so that more of it may wait.
bool Full(const SyncItems& items, std::size_t limit) {
  return items.answers.size() >= limit || items.withdrawals.size() >= limit ||
         items.results.size() >= limit;
}

// The request of what the store has not sent, at most `limit` of each kind and fewer when
// long texts would make it larger than the server takes; its body in `body`.
std::optional<SyncRequest> NextRequest(study::SyncStore& store, std::int64_t learner,
                                       std::size_t& limit, const std::vector<BookVersion>& books,
                                       std::string& body, HubFailure& failure) {
  study::StoreFailure storeFailure;
  SyncRequest request;
  request.learner = learner;
  request.books = books;
  request.device = store.deviceId();
  request.since = store.cursor(storeFailure);
  for (;;) {
    if (StoreFailed(storeFailure, failure)) return std::nullopt;
    request.items = store.unsent(limit, storeFailure);
    if (StoreFailed(storeFailure, failure)) return std::nullopt;
    body = Encode(request);
    if (body.size() <= kMaxRequestBytes || limit == 1) return request;
    limit /= 2;
  }
}

}  // namespace

std::optional<JoinReply> Join(const Post& post, const JoinRequest& request, HubFailure& failure) {
  const auto body = Answered(post("/v1/join", Encode(request), ""), failure);
  if (!body) return std::nullopt;
  std::string why;
  auto reply = DecodeJoinReply(*body, why);
  if (!reply) failure = {HubFailure::Kind::BadReply, 200, "the server's reply: " + why};
  return reply;
}

std::optional<std::string> FetchBook(const Post& post, const std::string& token,
                                     const BookVersion& wanted, BookPart part,
                                     HubFailure& failure) {
  auto body = Answered(post(BookPartPath(part), Encode(BookRequest{wanted}), token), failure);
  if (!body && failure.kind == HubFailure::Kind::Refused && failure.status == 404) {
    failure = {};
  }
  return body;
}

namespace {

// One request posted and its reply read: the reply, or nothing with `failure` set.
std::optional<SyncReply> Exchange(const Post& post, const SyncRequest& request,
                                  const std::string& body, const std::string& token,
                                  HubFailure& failure) {
  const auto answered = Answered(post("/v1/sync", body, token), failure);
  if (!answered) return std::nullopt;
  std::string why;
  auto reply = DecodeSyncReply(*answered, why);
  if (!reply) {
    failure = {HubFailure::Kind::BadReply, 200, "the server's reply: " + why};
    return std::nullopt;
  }
  // Another page that starts where this one did would never end.
  if (reply->more && reply->cursor <= request.since) {
    failure = {HubFailure::Kind::BadReply, 200,
               "the server's reply: more waits, but its cursor did not move"};
    return std::nullopt;
  }
  return reply;
}

struct Asked {
  SyncRequest request;
  std::optional<SyncReply> reply;
  HubFailure failure;
};

}  // namespace

bool Synchronise(const Post& post, study::SyncStore& store, std::int64_t learner,
                 const std::string& token, SyncCounts& counts, HubFailure& failure,
                 BookOffer* books) {
  study::StoreFailure storeFailure;
  std::size_t limit = kMaxItemsPerRequest;
  // While a page is taken in, the next one is already on its way when nothing was sent with
  // the request: a new device's pull then costs the server's time or the store's, not both.
  std::future<Asked> ahead;
  for (;;) {
    Asked asked;
    if (ahead.valid()) {
      asked = ahead.get();
    } else {
      std::string body;
      const auto request = NextRequest(
          store, learner, limit, books ? books->had : std::vector<BookVersion>{}, body, failure);
      if (!request) return false;
      asked.request = *request;
      asked.reply = Exchange(post, asked.request, body, token, asked.failure);
    }
    if (!asked.reply) {
      failure = asked.failure;
      return false;
    }
    const SyncRequest& request = asked.request;
    const SyncReply& reply = *asked.reply;
    if (reply.more && request.items.empty()) {
      SyncRequest next{learner, request.device, reply.cursor, {}, request.books};
      ahead = std::async(std::launch::async, [&post, &token, next = std::move(next)] {
        Asked fetched{next, std::nullopt, {}};
        fetched.reply = Exchange(post, next, Encode(next), token, fetched.failure);
        return fetched;
      });
    }
    if (!store.markSent(request.items, storeFailure)) {
      return StoreRefused(storeFailure, "note what was sent", failure);
    }
    counts.sent += reply.storedAnswers;
    counts.withdrawn += reply.storedWithdrawals;
    const auto merged = store.merge(reply.items, reply.cursor, storeFailure);
    if (!merged) return StoreRefused(storeFailure, "take in what was received", failure);
    counts.received += merged->answers;
    counts.withdrawn += merged->withdrawals;
    if (books) books->newer = reply.books;
    if (!reply.more && !Full(request.items, limit)) return true;
  }
}

}  // namespace studysync
