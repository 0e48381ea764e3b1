// SPDX-License-Identifier: MIT
// A self-signed certificate for a school without a certificate authority, and the pin the
// devices check instead: base64 of the SHA-256 of the certificate's public key (DER).
#pragma once

#include <string>

namespace hub {

// Writes DIR/cert.pem (for HOST: its name, or its address, as the certificate's subject
// alternative name; ten years) and DIR/key.pem (0600). Throws std::runtime_error.
void MakeCertificate(const std::string& host, const std::string& folder);

// The pin of the certificate in the PEM file `path`; throws std::runtime_error.
std::string CertificatePin(const std::string& path);

}  // namespace hub
