#include "security/cipher/receipt_file_cipher.h"

#include <openssl/crypto.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "common/big5.h"
#include "common/errors.h"
#include "security/cipher/cipher_file_io.h"
#include "security/cipher/md5_digest.h"
#include "security/cipher/password_bytes.h"
#include "security/codecs/stream_checksum.h"

namespace athup::security {
namespace {

constexpr std::size_t kChecksumLength = 8;
constexpr std::size_t kHeaderLength = 16;
// The header text of this program's own system code.
constexpr std::string_view kFixedHeadPw = "pq7xk2/wr9/ma8";

void wipeText(std::string& text) {
  OPENSSL_cleanse(text.data(), text.size());
  text.clear();
}

// Runs the wipe when an operation ends, also by an error.
template <typename F>
class OnExit {
 public:
  explicit OnExit(F f) : m_f(std::move(f)) {}
  ~OnExit() { m_f(); }
  OnExit(const OnExit&) = delete;
  OnExit& operator=(const OnExit&) = delete;

 private:
  F m_f;
};

struct ReceiptKeys {
  Md5Value h1{};
  Md5Value h2{};
  ~ReceiptKeys() {
    wipeKey(h1);
    wipeKey(h2);
  }
};

// Byte i of the text XOR key[i mod 16], in place; whole 16-byte pieces first, as words.
void xorWithKey(char* bytes, std::size_t length, const Md5Value& key) {
  std::uint64_t k[2];
  std::memcpy(k, key.data(), sizeof k);
  std::size_t i = 0;
  for (; i + sizeof k <= length; i += sizeof k) {
    std::uint64_t piece[2];
    std::memcpy(piece, bytes + i, sizeof piece);
    piece[0] ^= k[0];
    piece[1] ^= k[1];
    std::memcpy(bytes + i, piece, sizeof piece);
  }
  for (; i < length; ++i) {
    bytes[i] = static_cast<char>(static_cast<std::uint8_t>(bytes[i]) ^ key[i % key.size()]);
  }
}

}  // namespace

ReceiptFileCipher::~ReceiptFileCipher() {
  wipeText(m_pw);
  wipeText(m_headPw);
}

void ReceiptFileCipher::setPassword(std::string pw) {
  wipeText(m_pw);
  m_pw = std::move(pw);
}

void ReceiptFileCipher::setHeadPassword(std::string headPw) {
  wipeText(m_headPw);
  m_headPw = std::move(headPw);
}

void ReceiptFileCipher::wipeSecretsIfAsked() {
  if (!m_clearPw) return;
  wipeText(m_pw);
  wipeText(m_headPw);
}

void ReceiptFileCipher::checkFiles() const {
  if (m_source.empty()) throw Error("來源檔案不可以空白!!");
  if (m_destination.empty()) throw Error("目的檔案不可以空白!!");
  std::error_code error;
  if (!std::filesystem::exists(m_source, error)) throw Error("來源檔案不存在!!");
}

namespace {

ReceiptKeys deriveKeys(const std::string& pw, TaxSystem tax, const std::string& headPw) {
  if (pw.empty()) throw Error("密碼不可以空白!!");
  ReceiptKeys keys;
  std::string pwBytes = passwordBytes(pw);
  keys.h1 = md5Digest(pwBytes);
  wipeText(pwBytes);
  if (tax == TaxSystem::ORB) {
    keys.h2 = md5Digest(kFixedHeadPw);
  } else {
    std::string headBytes = common::utf8ToBig5(headPw);
    keys.h2 = md5Digest(headBytes);
    wipeText(headBytes);
  }
  return keys;
}

void checkSourceSize(std::size_t size, bool checkCrc) {
  // With the checksum on, fewer than nine bytes are refused in both directions.
  if (checkCrc && size < kChecksumLength + 1) throw Error("來源資料資料異常(資料量不足)!!");
  if (size == 0) throw Error("來源資料空白!!");
}

}  // namespace

std::string ReceiptFileCipher::encryptBytes(std::string_view plain) {
  OnExit wipe([this] { wipeSecretsIfAsked(); });
  const ReceiptKeys keys = deriveKeys(m_pw, m_tax, m_headPw);
  checkSourceSize(plain.size(), m_checkCrc);

  const std::size_t start = m_checkCrc ? kChecksumLength : 0;
  std::string stored(start + kHeaderLength + plain.size(), '\0');
  char* header = stored.data() + start;
  for (std::size_t i = 0; i < kHeaderLength; ++i) {
    header[i] = static_cast<char>(keys.h1[i] ^ keys.h2[i]);
  }
  char* body = header + kHeaderLength;
  plain.copy(body, plain.size());
  xorWithKey(body, plain.size(), keys.h1);
  if (m_checkCrc) {
    m_crc = standardCrc32Text(std::string_view(stored).substr(kChecksumLength));
    stored.replace(0, kChecksumLength, m_crc);
  }
  return stored;
}

std::string ReceiptFileCipher::decryptBytes(std::string_view stored) {
  OnExit wipe([this] { wipeSecretsIfAsked(); });
  const ReceiptKeys keys = deriveKeys(m_pw, m_tax, m_headPw);
  checkSourceSize(stored.size(), m_checkCrc);

  std::string_view rest = stored;
  if (m_checkCrc) {
    m_crc = standardCrc32Text(stored.substr(kChecksumLength));
    if (m_crc != stored.substr(0, kChecksumLength)) {
      throw Error("來源資料資料可能毀損(CRC ERROR)!!");
    }
    rest = stored.substr(kChecksumLength);
  }
  if (rest.size() <= kHeaderLength) throw Error("來源資料錯誤，資料過短!!");

  for (std::size_t i = 0; i < kHeaderLength; ++i) {
    const auto check = static_cast<std::uint8_t>(static_cast<std::uint8_t>(rest[i]) ^ keys.h1[i]);
    if (check != keys.h2[i]) throw Error("密碼錯誤或資料異常");
  }
  std::string plain(rest.substr(kHeaderLength));
  xorWithKey(plain.data(), plain.size(), keys.h1);
  return plain;
}

void ReceiptFileCipher::encrypt() {
  OnExit wipe([this] { wipeSecretsIfAsked(); });
  checkFiles();
  if (m_pw.empty()) throw Error("密碼不可以空白!!");
  const std::string stored = encryptBytes(readWholeFile(m_source));
  replaceWholeFile(m_destination, stored);
}

void ReceiptFileCipher::decrypt() {
  OnExit wipe([this] { wipeSecretsIfAsked(); });
  checkFiles();
  if (m_pw.empty()) throw Error("密碼不可以空白!!");
  std::string plain = decryptBytes(readWholeFile(m_source));
  replaceWholeFile(m_destination, plain);
  OPENSSL_cleanse(plain.data(), plain.size());
}

}  // namespace athup::security
