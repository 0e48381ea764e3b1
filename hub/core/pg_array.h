// SPDX-License-Identifier: MIT
// PostgreSQL array literals ("{...}") for passing a whole batch as one parameter of one
// statement (read back with unnest). They travel as parameter values, never inside SQL.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hub {

std::string TextArray(const std::vector<std::string_view>& texts);
std::string IntegerArray(const std::vector<std::int64_t>& numbers);
// Real numbers written exactly (17 significant digits); an empty one is NULL.
std::string RealArray(const std::vector<std::optional<double>>& numbers);

}  // namespace hub
