// SPDX-License-Identifier: MIT
#include "certificate.h"

#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/sha.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

#include "file_io.h"

namespace hub {
namespace {

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, decltype([](T* p) { Free(p); })>;

void CloseFile(FILE* file) {
  std::fclose(file);
}

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("cannot make the certificate: ") + what);
}

std::string Pem(const std::function<int(BIO*)>& write) {
  const Owned<BIO, BIO_free_all> bio(BIO_new(BIO_s_mem()));
  Require(bio && write(bio.get()) == 1, "PEM");
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

void Write(const std::string& path, const std::string& contents) {
  const suite::FileStatus status = suite::ReplaceFile(path, contents);
  if (!status.ok()) throw std::runtime_error(status.message());
}

}  // namespace

void MakeCertificate(const std::string& host, const std::string& folder) {
  const Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
  Require(key != nullptr, "key");
  const Owned<X509, X509_free> certificate(X509_new());
  Require(certificate != nullptr, "certificate");
  X509* cert = certificate.get();
  X509_set_version(cert, X509_VERSION_3);
  unsigned char serial[16];
  Require(RAND_bytes(serial, sizeof serial) == 1, "serial");
  serial[0] &= 0x7f;
  const Owned<BIGNUM, BN_free> serialNumber(BN_bin2bn(serial, sizeof serial, nullptr));
  BN_to_ASN1_INTEGER(serialNumber.get(), X509_get_serialNumber(cert));
  X509_gmtime_adj(X509_getm_notBefore(cert), 0);
  X509_gmtime_adj(X509_getm_notAfter(cert), 10L * 365 * 24 * 3600);
  X509_NAME* name = X509_get_subject_name(cert);
  Require(X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                                     reinterpret_cast<const unsigned char*>(host.c_str()), -1, -1,
                                     0) == 1,
          "name");
  X509_set_issuer_name(cert, name);
  X509_set_pubkey(cert, key.get());
  const Owned<ASN1_OCTET_STRING, ASN1_OCTET_STRING_free> address(a2i_IPADDRESS(host.c_str()));
  const std::string alternative = (address ? "IP:" : "DNS:") + host;
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
  const Owned<X509_EXTENSION, X509_EXTENSION_free> extension(
      X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, alternative.c_str()));
  Require(extension && X509_add_ext(cert, extension.get(), -1) == 1, "subject alternative name");
  Require(X509_sign(cert, key.get(), EVP_sha256()) > 0, "signature");

  // A folder that is not there yet, such as /etc/studyhub on a new server, is made.
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) throw std::runtime_error(folder + ": " + made.message());
  const std::string keyPath = folder + "/key.pem";
  // The key is readable by its owner alone from its first byte: a key left 0644 by an
  // earlier hand is narrowed before it is replaced, and a new one is made under umask 077.
  chmod(keyPath.c_str(), 0600);
  const mode_t mask = umask(077);
  try {
    Write(keyPath, Pem([&](BIO* bio) {
            return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
          }));
  } catch (...) {
    umask(mask);
    throw;
  }
  umask(mask);
  Write(folder + "/cert.pem", Pem([&](BIO* bio) { return PEM_write_bio_X509(bio, cert); }));
}

std::string CertificatePin(const std::string& path) {
  const Owned<FILE, CloseFile> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw std::runtime_error(path + ": cannot be read");
  const Owned<X509, X509_free> cert(PEM_read_X509(file.get(), nullptr, nullptr, nullptr));
  if (!cert) throw std::runtime_error(path + ": not a PEM certificate");
  unsigned char* der = nullptr;
  const int size = i2d_X509_PUBKEY(X509_get_X509_PUBKEY(cert.get()), &der);
  if (size <= 0) throw std::runtime_error(path + ": the public key cannot be read");
  unsigned char hash[SHA256_DIGEST_LENGTH];
  SHA256(der, static_cast<std::size_t>(size), hash);
  OPENSSL_free(der);
  unsigned char text[4 * ((SHA256_DIGEST_LENGTH + 2) / 3) + 1];
  EVP_EncodeBlock(text, hash, SHA256_DIGEST_LENGTH);
  return reinterpret_cast<const char*>(text);
}

}  // namespace hub
