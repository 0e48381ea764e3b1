// SPDX-License-Identifier: MIT
#include "secrets.h"

#include <sodium.h>

#include <stdexcept>
#include <vector>

namespace hub {
namespace {

void NeedSodium() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

}  // namespace

std::string RandomSecret(std::size_t bytes) {
  NeedSodium();
  std::vector<unsigned char> random(bytes);
  randombytes_buf(random.data(), random.size());
  std::string text(sodium_base64_ENCODED_LEN(bytes, sodium_base64_VARIANT_URLSAFE_NO_PADDING),
                   '\0');
  sodium_bin2base64(text.data(), text.size(), random.data(), random.size(),
                    sodium_base64_VARIANT_URLSAFE_NO_PADDING);
  text.resize(text.find('\0'));
  return text;
}

std::string SecretHash(std::string_view secret) {
  NeedSodium();
  unsigned char hash[32];
  crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(secret.data()),
                     secret.size(), nullptr, 0);
  std::string hex(sizeof hash * 2 + 1, '\0');
  sodium_bin2hex(hex.data(), hex.size(), hash, sizeof hash);
  hex.pop_back();
  return hex;
}

}  // namespace hub
