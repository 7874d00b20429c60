#pragma once

#include <filesystem>
#include <memory>
#include <string>

using X509 = struct x509_st;
using EVP_PKEY = struct evp_pkey_st;

namespace athup::filing_server {

// A certificate authority made fresh at every start (P-256 keys, 30 days), and a server
// certificate it signs for 127.0.0.1 and localhost. Clients trust the simulator by trusting the
// authority's PEM, so nothing of it outlives the run.
class TestAuthority {
 public:
  TestAuthority();  // throws athup::Error when OpenSSL cannot make the keys or certificates
  ~TestAuthority();
  TestAuthority(const TestAuthority&) = delete;
  TestAuthority& operator=(const TestAuthority&) = delete;

  [[nodiscard]] std::string caCertificatePem() const;
  // Writes the authority's certificate (PEM) to the path, replacing the file.
  void writeCaCertificate(const std::filesystem::path& path) const;

  [[nodiscard]] X509* serverCertificate() const { return m_serverCert.get(); }
  [[nodiscard]] EVP_PKEY* serverKey() const { return m_serverKey.get(); }

 private:
  struct FreeKey {
    void operator()(EVP_PKEY* key) const;
  };
  struct FreeCert {
    void operator()(X509* cert) const;
  };
  std::unique_ptr<EVP_PKEY, FreeKey> m_caKey;
  std::unique_ptr<X509, FreeCert> m_caCert;
  std::unique_ptr<EVP_PKEY, FreeKey> m_serverKey;
  std::unique_ptr<X509, FreeCert> m_serverCert;
};

}  // namespace athup::filing_server
