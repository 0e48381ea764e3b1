// SPDX-License-Identifier: MIT
#include "hub_client.h"

#include <httplib.h>

#include <cstdio>

namespace hubtest {
namespace {

// The server's own self-signed certificate is the one trusted: what a pin gives a device.
void TrustOnly(httplib::SSLClient& client, const std::string& certificate) {
  client.set_ca_cert_path(certificate.c_str());
  client.enable_server_certificate_verification(true);
  client.set_connection_timeout(std::chrono::seconds(10));
  client.set_read_timeout(std::chrono::seconds(60));
}

}  // namespace

HubClient::HubClient(int port, std::string certificate)
    : port_(port), certificate_(std::move(certificate)) {}

HttpAnswer HubClient::post(const std::string& path, const std::string& body,
                           const std::string& token) const {
  httplib::SSLClient client("127.0.0.1", port_);
  TrustOnly(client, certificate_);
  httplib::Headers headers;
  if (!token.empty()) headers.emplace("Authorization", "Bearer " + token);
  const auto result = client.Post(path.c_str(), headers, body, "application/json");
  if (!result) return {};
  return {result->status, result->body, result->get_header_value("Retry-After")};
}

HttpAnswer HubClient::get(const std::string& path) const {
  httplib::SSLClient client("127.0.0.1", port_);
  TrustOnly(client, certificate_);
  const auto result = client.Get(path.c_str());
  if (!result) return {};
  return {result->status, result->body, result->get_header_value("Retry-After")};
}

HttpAnswer HubClient::postPlain(const std::string& path, const std::string& body) const {
  httplib::Client client("127.0.0.1", port_);
  client.set_connection_timeout(std::chrono::seconds(10));
  client.set_read_timeout(std::chrono::seconds(10));
  const auto result = client.Post(path.c_str(), body, "application/json");
  if (!result) return {};
  return {result->status, result->body, result->get_header_value("Retry-After")};
}

HttpAnswer HubClient::join(const std::string& secret, const std::string& device) const {
  return post("/v1/join", studysync::Encode(studysync::JoinRequest{secret, device, "lab-pc"}));
}

HttpAnswer HubClient::sync(const std::string& token, const studysync::SyncRequest& request) const {
  return post("/v1/sync", studysync::Encode(request), token);
}

std::string DeviceId(int n) {
  char id[33];
  std::snprintf(id, sizeof id, "%032x", n);
  return id;
}

std::vector<studysync::SyncAnswer> Answers(const std::string& device, std::int64_t firstSeq,
                                           int count) {
  std::vector<studysync::SyncAnswer> answers;
  for (int i = 0; i < count; ++i) {
    const std::int64_t seq = firstSeq + i;
    answers.push_back({{device, seq},
                       "Lesson 1",
                       "word " + std::to_string(seq),
                       "词",
                       "n.",
                       1767225600000 + seq * 1000,
                       static_cast<int>(1 + seq % 4),
                       "learn",
                       1.5});
  }
  return answers;
}

}  // namespace hubtest
