// SPDX-License-Identifier: MIT
// Teachers' passwords, chosen by people and so guessable: kept only as argon2id hashes
// (libsodium's password hash), slow on purpose, each with its own salt.
#pragma once

#include <string>

namespace hub {

// The hash to keep, salt and cost included ("$argon2id$...").
std::string HashPassword(const std::string& password);
// Whether `password` is the one `hash` was made from; false for a malformed hash.
bool PasswordMatches(const std::string& hash, const std::string& password);
// A new one-time password a person can type: 12 characters without look-alikes.
std::string NewOneTimePassword();

}  // namespace hub
