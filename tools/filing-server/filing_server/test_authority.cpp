#include "filing_server/test_authority.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <fstream>

#include "common/errors.h"

namespace athup::filing_server {
namespace {

constexpr long kValiditySeconds = 30L * 24 * 60 * 60;

void check(bool ok, const char* what) {
  if (!ok) throw Error(std::string("test authority: ") + what);
}

EVP_PKEY* newKey() {
  EVP_PKEY* key = EVP_EC_gen("P-256");
  check(key != nullptr, "cannot make a key");
  return key;
}

void addExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  check(ext != nullptr, "cannot make an extension");
  const int added = X509_add_ext(cert, ext, -1);
  X509_EXTENSION_free(ext);
  check(added == 1, "cannot add an extension");
}

// A certificate for the subject's key, with a random serial, valid from an hour ago (clock skew)
// for 30 days, signed by the issuer's key (itself for the authority).
X509* newCertificate(EVP_PKEY* subjectKey, const char* commonName, X509* issuer,
                     EVP_PKEY* issuerKey) {
  X509* cert = X509_new();
  check(cert != nullptr, "cannot make a certificate");
  check(X509_set_version(cert, 2) == 1, "version");
  BIGNUM* serial = BN_new();
  check(serial != nullptr && BN_rand(serial, 64, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) == 1,
        "serial");
  BN_to_ASN1_INTEGER(serial, X509_get_serialNumber(cert));
  BN_free(serial);
  X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert), kValiditySeconds);
  check(X509_set_pubkey(cert, subjectKey) == 1, "public key");
  X509_NAME* name = X509_get_subject_name(cert);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("athup filing-server"), -1, -1,
                             0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
  X509* signer = issuer != nullptr ? issuer : cert;
  check(X509_set_issuer_name(cert, X509_get_subject_name(signer)) == 1, "issuer");
  if (issuer == nullptr) {
    addExtension(cert, cert, NID_basic_constraints, "critical,CA:TRUE");
    addExtension(cert, cert, NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(cert, cert, NID_subject_key_identifier, "hash");
  } else {
    addExtension(cert, issuer, NID_basic_constraints, "critical,CA:FALSE");
    addExtension(cert, issuer, NID_key_usage, "critical,digitalSignature,keyEncipherment");
    addExtension(cert, issuer, NID_ext_key_usage, "serverAuth");
    addExtension(cert, issuer, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    addExtension(cert, issuer, NID_authority_key_identifier, "keyid");
  }
  check(X509_sign(cert, issuerKey, EVP_sha256()) > 0, "cannot sign");
  return cert;
}

}  // namespace

void TestAuthority::FreeKey::operator()(EVP_PKEY* key) const {
  EVP_PKEY_free(key);
}
void TestAuthority::FreeCert::operator()(X509* cert) const {
  X509_free(cert);
}

TestAuthority::TestAuthority() {
  m_caKey.reset(newKey());
  m_caCert.reset(newCertificate(m_caKey.get(), "athup test authority", nullptr, m_caKey.get()));
  m_serverKey.reset(newKey());
  m_serverCert.reset(newCertificate(m_serverKey.get(), "127.0.0.1", m_caCert.get(), m_caKey.get()));
}

TestAuthority::~TestAuthority() = default;

std::string TestAuthority::caCertificatePem() const {
  BIO* bio = BIO_new(BIO_s_mem());
  check(bio != nullptr && PEM_write_bio_X509(bio, m_caCert.get()) == 1, "cannot write PEM");
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio, &data);
  std::string pem(data, static_cast<std::size_t>(size));
  BIO_free(bio);
  return pem;
}

void TestAuthority::writeCaCertificate(const std::filesystem::path& path) const {
  const std::string pem = caCertificatePem();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << pem;
  out.close();
  if (!out) throw Error("cannot write the authority's certificate to " + path.string());
}

}  // namespace athup::filing_server
