// SPDX-License-Identifier: MIT
#include "teacher_browser.h"

#include <httplib.h>

#include <chrono>
#include <regex>
#include <stdexcept>

namespace hubtest {
namespace {

using Clock = std::chrono::steady_clock;

std::string Csrf(const std::string& html) {
  std::smatch found;
  if (!std::regex_search(html, found, std::regex("name=\"csrf\" value=\"([^\"]*)\""))) {
    throw std::runtime_error("no CSRF token in the page");
  }
  return found[1];
}

void Keep(const httplib::Headers& headers, std::vector<std::pair<std::string, std::string>>& into) {
  for (auto [it, end] = headers.equal_range("Set-Cookie"); it != end; ++it) {
    const std::string& value = it->second;
    const auto equals = value.find('=');
    into.emplace_back(value.substr(0, equals),
                      value.substr(equals + 1, value.find(';') - equals - 1));
  }
}

}  // namespace

struct TeacherBrowser::Connection {
  httplib::SSLClient client;
  Connection(int port, const std::string& certificate) : client("127.0.0.1", port) {
    client.set_ca_cert_path(certificate.c_str());
    client.enable_server_certificate_verification(true);
    client.set_keep_alive(true);
    client.set_connection_timeout(std::chrono::seconds(10));
    client.set_read_timeout(std::chrono::seconds(60));
  }
  httplib::Headers headers(const std::vector<std::pair<std::string, std::string>>& cookies) const {
    std::string cookie;
    for (const auto& [name, value] : cookies) cookie += name + "=" + value + "; ";
    return {{"Cookie", cookie}};
  }
};

TeacherBrowser::TeacherBrowser(int port, const std::string& certificate)
    : connection_(std::make_unique<Connection>(port, certificate)) {}

TeacherBrowser::~TeacherBrowser() = default;

std::string TeacherBrowser::get(const std::string& path) {
  const auto result = connection_->client.Get(path, connection_->headers(cookies_));
  if (!result) throw std::runtime_error(path + ": " + httplib::to_string(result.error()));
  if (result->status != 200) {
    throw std::runtime_error(path + ": " + std::to_string(result->status) + " " + result->body);
  }
  Keep(result->headers, cookies_);
  return result->body;
}

void TeacherBrowser::post(const std::string& path,
                          std::vector<std::pair<std::string, std::string>> fields) {
  fields.emplace_back("csrf", Csrf(get("/")));
  httplib::Params params(fields.begin(), fields.end());
  const auto result = connection_->client.Post(path, connection_->headers(cookies_), params);
  if (!result || result->status != 303) throw std::runtime_error(path + " was refused");
  Keep(result->headers, cookies_);
}

void TeacherBrowser::signIn(const std::string& name, const std::string& oneTimePassword,
                            const std::string& newPassword) {
  post("/signin", {{"name", name}, {"password", oneTimePassword}});
  post("/password", {{"password", newPassword}, {"again", newPassword}});
}

std::pair<double, std::size_t> TeacherBrowser::firstByte(const std::string& path) {
  const auto start = Clock::now();
  double first = -1;
  std::size_t size = 0;
  const auto result = connection_->client.Get(
      path, connection_->headers(cookies_), [&](const char*, std::size_t length) {
        if (first < 0)
          first = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        size += length;
        return true;
      });
  if (!result || result->status != 200) throw std::runtime_error(path + " failed");
  return {first, size};
}

}  // namespace hubtest
