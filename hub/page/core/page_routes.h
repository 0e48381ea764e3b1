// SPDX-License-Identifier: MIT
// Which page a request asks for, and the cookies it carries, read without a server.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hub::page {

enum class Route {
  NotFound,
  Home,        // GET  /
  SignIn,      // POST /signin
  SignOut,     // POST /signout
  Password,    // POST /password
  Grid,        // GET  /class/ID
  Week,        // GET  /class/ID/week
  Hardest,     // GET  /class/ID/hardest
  Who,         // GET  /class/ID/who?lesson=&line1=&line2=
  GridCsv,     // GET  /class/ID/grid.csv
  WeekCsv,     // GET  /class/ID/week.csv
  HardestCsv,  // GET  /class/ID/hardest.csv
  Goal,        // POST /class/ID/goal
};

struct RouteMatch {
  Route route = Route::NotFound;
  std::int64_t classId = 0;  // for the class's pages
};

RouteMatch MatchRoute(std::string_view method, std::string_view path);
bool IsClassRoute(Route route);

// The value of cookie `name` in a Cookie header; empty when it has none.
std::string CookieValue(std::string_view header, std::string_view name);
// A Set-Cookie value only this site's pages over HTTPS send back; a zero age removes it.
std::string CookieHeader(std::string_view name, std::string_view value, int maxAgeSeconds);

}  // namespace hub::page
