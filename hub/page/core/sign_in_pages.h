// SPDX-License-Identifier: MIT
// The pages around signing in: the form, the forced new password, a short message.
#pragma once

#include <string>
#include <string_view>

namespace hub::page {

inline constexpr std::size_t kShortestPassword = 10;

// `message`: why the last attempt failed, empty on the first visit.
std::string SignInPage(std::string_view csrf, std::string_view name, std::string_view message);
std::string NewPasswordPage(std::string_view teacher, std::string_view csrf,
                            std::string_view message);
// A page with a title, one sentence and a way back to the start.
std::string MessagePage(std::string_view title, std::string_view message);
// Why a new password is refused, in Chinese; empty when it is acceptable.
std::string NewPasswordProblem(std::string_view password, std::string_view again,
                               std::string_view teacher);

}  // namespace hub::page
