// SPDX-License-Identifier: MIT
// Device tokens and join secrets: random, and kept only as hashes. Both carry 128 bits or
// more from the system's random source, so a fast hash is enough: nobody can
// search such a space, whatever the hash costs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hub {

inline constexpr std::size_t kTokenBytes = 32;   // 256 bits
inline constexpr std::size_t kSecretBytes = 16;  // 128 bits, short enough to type

// `bytes` random bytes as base64url without padding.
std::string RandomSecret(std::size_t bytes);
// The hash the database keeps: 64 lowercase hex digits (BLAKE2b-256).
std::string SecretHash(std::string_view secret);

}  // namespace hub
