// SPDX-License-Identifier: MIT
#include "page_routes.h"

#include <charconv>

namespace hub::page {
namespace {

struct Named {
  std::string_view method;
  std::string_view path;
  Route route;
};

constexpr Named kPlain[] = {{"GET", "/", Route::Home},
                            {"POST", "/signin", Route::SignIn},
                            {"POST", "/signout", Route::SignOut},
                            {"POST", "/password", Route::Password}};

constexpr Named kOfClass[] = {{"GET", "", Route::Grid},
                              {"GET", "/week", Route::Week},
                              {"GET", "/hardest", Route::Hardest},
                              {"GET", "/who", Route::Who},
                              {"GET", "/grid.csv", Route::GridCsv},
                              {"GET", "/week.csv", Route::WeekCsv},
                              {"GET", "/hardest.csv", Route::HardestCsv},
                              {"POST", "/goal", Route::Goal}};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

RouteMatch MatchRoute(std::string_view method, std::string_view path) {
  for (const Named& named : kPlain) {
    if (named.method == method && named.path == path) return {named.route, 0};
  }
  constexpr std::string_view kClass = "/class/";
  if (!path.starts_with(kClass)) return {};
  path.remove_prefix(kClass.size());
  std::int64_t id = 0;
  const auto [end, error] = std::from_chars(path.data(), path.data() + path.size(), id);
  if (error != std::errc() || end == path.data() || id <= 0) return {};
  const std::string_view rest(end, static_cast<std::size_t>(path.data() + path.size() - end));
  for (const Named& named : kOfClass) {
    if (named.method == method && named.path == rest) return {named.route, id};
  }
  return {};
}

bool IsClassRoute(Route route) {
  return route >= Route::Grid;
}

std::string CookieValue(std::string_view header, std::string_view name) {
  while (!header.empty()) {
    const std::size_t semicolon = header.find(';');
    const std::string_view pair = Trimmed(header.substr(0, semicolon));
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && pair.substr(0, equals) == name) {
      return std::string(pair.substr(equals + 1));
    }
    if (semicolon == std::string_view::npos) break;
    header.remove_prefix(semicolon + 1);
  }
  return {};
}

std::string CookieHeader(std::string_view name, std::string_view value, int maxAgeSeconds) {
  return std::string(name) + "=" + std::string(value) +
         "; Path=/; Max-Age=" + std::to_string(maxAgeSeconds) +
         "; Secure; HttpOnly; SameSite=Strict";
}

}  // namespace hub::page
