// SPDX-License-Identifier: MIT
// UTF-8 <-> UTF-16 for the command-line tool and tests; a lone surrogate becomes U+FFFD.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace course {

std::string ToUtf8(std::u16string_view text);
// nullopt when `bytes` is not well-formed UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view bytes);

}  // namespace course
