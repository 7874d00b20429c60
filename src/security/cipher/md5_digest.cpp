#include "security/cipher/md5_digest.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include "common/errors.h"

namespace athup::security {

Md5Value md5Digest(std::string_view bytes) {
  Md5Value digest{};
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_md5(), nullptr) != 1 ||
      length != digest.size()) {
    throw Error("MD5 is not available in this OpenSSL build.");
  }
  return digest;
}

void wipeKey(Md5Value& key) {
  OPENSSL_cleanse(key.data(), key.size());
}

}  // namespace athup::security
