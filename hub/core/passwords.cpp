// SPDX-License-Identifier: MIT
#include "passwords.h"

#include <sodium.h>

#include <stdexcept>

namespace hub {
namespace {

void NeedSodium() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

}  // namespace

std::string HashPassword(const std::string& password) {
  NeedSodium();
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str_alg(hash, password.data(), password.size(),
                            crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                            crypto_pwhash_ALG_ARGON2ID13) != 0) {
    throw std::runtime_error("not enough memory to hash a password");
  }
  return hash;
}

bool PasswordMatches(const std::string& hash, const std::string& password) {
  NeedSodium();
  if (hash.size() >= crypto_pwhash_STRBYTES) return false;
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

std::string NewOneTimePassword() {
  NeedSodium();
  // No 0/O, 1/l/I: read off paper and typed by hand.
  static constexpr char kAlphabet[] = "23456789abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ";
  constexpr std::uint32_t kLetters = sizeof kAlphabet - 1;
  std::string password;
  for (int i = 0; i < 12; ++i) password += kAlphabet[randombytes_uniform(kLetters)];
  return password;
}

}  // namespace hub
