// SPDX-License-Identifier: MIT
// Any bytes as what a browser sends the class page: the first line a path, the rest its
// Cookie header. The page asked for must be decided without failing, a class's page must
// name a class, a cookie's value must come from the header, and escaped text must carry
// nothing that HTML would read as markup.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "html.h"
#include "page_routes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = bytes.find('\n');
  const std::string_view path = bytes.substr(0, newline);
  const std::string_view cookies =
      newline == std::string_view::npos ? std::string_view() : bytes.substr(newline + 1);
  for (const char* method : {"GET", "POST"}) {
    const hub::page::RouteMatch match = hub::page::MatchRoute(method, path);
    if (hub::page::IsClassRoute(match.route) != (match.classId > 0)) std::abort();
  }
  const std::string value = hub::page::CookieValue(cookies, "studyhub_session");
  if (value.find(';') != std::string::npos || cookies.find(value) == std::string_view::npos) {
    std::abort();
  }
  if (hub::page::Escape(bytes).find_first_of("<>\"'") != std::string::npos) std::abort();
  return 0;
}
