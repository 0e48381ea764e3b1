// SPDX-License-Identifier: MIT
// The page's HTML: every value escaped, one small stylesheet inline, nothing loaded from
// elsewhere, no script.
#pragma once

#include <string>
#include <string_view>

namespace hub::page {

// `text` safe inside an element or a quoted attribute.
std::string Escape(std::string_view text);
// `text` for a URL's query ("%E7%8E%8B" and so on; letters, digits and -._~ as they are).
std::string UrlEncode(std::string_view text);
// A whole document with the stylesheet: `title` escaped here, `body` already HTML.
std::string Document(std::string_view title, std::string_view body);
// A hidden field carrying the form's CSRF token.
std::string CsrfField(std::string_view token);

}  // namespace hub::page
