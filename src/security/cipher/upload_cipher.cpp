#include "security/cipher/upload_cipher.h"

#include <openssl/crypto.h>

#include <cstdint>
#include <cstring>
#include <istream>
#include <iterator>
#include <utility>

#include "common/errors.h"
#include "security/cipher/bcd_padding.h"
#include "security/cipher/cipher_file_io.h"
#include "security/cipher/md5_digest.h"
#include "security/cipher/password_bytes.h"
#include "security/codecs/stream_checksum.h"

namespace athup::security {
namespace {

constexpr std::size_t kBlock = 16;
constexpr std::size_t kMinimumData = 48;
constexpr std::size_t kMinimumPassword = 8;
constexpr std::size_t kChecksumLength = 8;
constexpr std::string_view kCipherSalt = "QuintelWorkbox";

constexpr const char* kFileNameEmpty = "File Name is Empty!!";
constexpr const char* kDataNotEnough = "Data is not enough!!";
constexpr const char* kPasswordTooShort = "Password of length must At least 8 !!";
constexpr const char* kEncryptedLengthError = "Encry Data length error!!";
constexpr const char* kPasswordOrDataError = "Password or Data is error!!";

// Wipes a copy of secret bytes when it goes out of scope.
class SecretText {
 public:
  explicit SecretText(std::string text) : m_text(std::move(text)) {}
  ~SecretText() { OPENSSL_cleanse(m_text.data(), m_text.size()); }
  SecretText(const SecretText&) = delete;
  SecretText& operator=(const SecretText&) = delete;
  std::string& text() { return m_text; }

 private:
  std::string m_text;
};

struct Keys {
  Md5Value k1{};
  Md5Value k2{};
  ~Keys() {
    wipeKey(k1);
    wipeKey(k2);
  }
};

bool isContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

std::size_t characterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) count += isContinuationByte(c) ? 0 : 1;
  return count;
}

// The password reversed character by character (a UTF-8 sequence stays in one piece).
std::string reversedByCharacter(std::string_view utf8) {
  std::string reversed;
  reversed.reserve(utf8.size());
  std::size_t end = utf8.size();
  while (end > 0) {
    std::size_t start = end - 1;
    while (start > 0 && isContinuationByte(utf8[start])) --start;
    reversed.append(utf8.substr(start, end - start));
    end = start;
  }
  return reversed;
}

void checkPassword(const std::string& pw) {
  if (characterCount(pw) < kMinimumPassword) throw Error(kPasswordTooShort);
}

Md5Value saltedKey(std::string_view pwUtf8) {
  SecretText material(passwordBytes(pwUtf8));
  material.text().append(kCipherSalt);
  return md5Digest(material.text());
}

Keys deriveKeys(const std::string& pw) {
  Keys keys;
  keys.k1 = saltedKey(pw);
  SecretText reversed(reversedByCharacter(pw));
  keys.k2 = saltedKey(reversed.text());
  return keys;
}

// XOR of one 16-byte block as two words; memcpy keeps it free of alignment assumptions.
void xorBlock(char* block, const void* other) {
  std::uint64_t a[2];
  std::uint64_t b[2];
  std::memcpy(a, block, kBlock);
  std::memcpy(b, other, kBlock);
  a[0] ^= b[0];
  a[1] ^= b[1];
  std::memcpy(block, a, kBlock);
}

// Every block numbered 0, 2, 4, ... is XOR-ed with K2; the mask is its own inverse.
void applyAlternateMask(std::string& data, const Md5Value& k2) {
  for (std::size_t offset = 0; offset < data.size(); offset += 2 * kBlock) {
    xorBlock(data.data() + offset, k2.data());
  }
}

// Takes the input by value so a file read for encryption is never copied again.
std::string encryptData(std::string data, const std::string& pw) {
  if (data.size() < kMinimumData) throw Error(kDataNotEnough);
  checkPassword(pw);

  data.reserve(data.size() + kChecksumLength + kBlock);
  data.append(standardCrc32Text(data));
  appendBcdPadding(data);

  const Keys keys = deriveKeys(pw);
  const Md5Value iv = md5Digest(std::string_view(data).substr(kBlock));
  // Ci = Pi ^ Ci-1 ^ K1 with C0 = IV, in place.
  xorBlock(data.data(), iv.data());
  xorBlock(data.data(), keys.k1.data());
  for (std::size_t offset = kBlock; offset < data.size(); offset += kBlock) {
    xorBlock(data.data() + offset, data.data() + offset - kBlock);
    xorBlock(data.data() + offset, keys.k1.data());
  }
  applyAlternateMask(data, keys.k2);
  return data;
}

std::string decryptData(std::string_view input, const std::string& pw) {
  if (input.size() % kBlock != 0) throw Error(kEncryptedLengthError);
  if (input.size() < kMinimumData) {
    throw Error("Encry Data is not enough!!At least " + std::to_string(kMinimumData) + " bytes !!");
  }
  checkPassword(pw);

  const Keys keys = deriveKeys(pw);
  std::string data(input);
  applyAlternateMask(data, keys.k2);
  // Pi = Ci ^ Ci-1 ^ K1, from the last block back so each step still sees Ci-1.
  for (std::size_t offset = data.size() - kBlock; offset >= kBlock; offset -= kBlock) {
    xorBlock(data.data() + offset, data.data() + offset - kBlock);
    xorBlock(data.data() + offset, keys.k1.data());
  }
  const Md5Value iv = md5Digest(std::string_view(data).substr(kBlock));
  xorBlock(data.data(), iv.data());
  xorBlock(data.data(), keys.k1.data());

  const auto padCount = bcdCount(static_cast<std::uint8_t>(data.back()));
  // A count that would eat into the checksum text cannot come from the encrypting side.
  if (!padCount || *padCount > data.size() - kChecksumLength) throw Error(kPasswordOrDataError);
  data.resize(data.size() - *padCount);

  const std::size_t dataLength = data.size() - kChecksumLength;
  const std::string_view plain = std::string_view(data).substr(0, dataLength);
  if (standardCrc32Text(plain) != std::string_view(data).substr(dataLength)) {
    throw Error(kPasswordOrDataError);
  }
  data.resize(dataLength);
  return data;
}

std::string readWholeStream(std::istream& stream) {
  stream.clear();
  stream.seekg(0, std::ios::beg);
  std::string content((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  const bool failed = stream.bad();
  stream.clear();
  stream.seekg(0, std::ios::beg);
  if (failed) throw Error("The stream cannot be read.");
  return content;
}

}  // namespace

UploadCipher::~UploadCipher() {
  OPENSSL_cleanse(m_pw.data(), m_pw.size());
  OPENSSL_cleanse(m_result.data(), m_result.size());
}

void UploadCipher::setPassword(std::string pw) {
  OPENSSL_cleanse(m_pw.data(), m_pw.size());
  m_pw = std::move(pw);
}

void UploadCipher::encryptBytes(std::string_view data) {
  m_result = encryptData(std::string(data), m_pw);
}

void UploadCipher::decryptBytes(std::string_view data) {
  m_result = decryptData(data, m_pw);
}

void UploadCipher::encryptStream(std::istream& stream) {
  encryptBytes(readWholeStream(stream));
}

void UploadCipher::decryptStream(std::istream& stream) {
  decryptBytes(readWholeStream(stream));
}

void UploadCipher::encryptFile(const std::filesystem::path& source) {
  if (source.empty()) throw Error(kFileNameEmpty);
  m_result = encryptData(readWholeFile(source), m_pw);
}

void UploadCipher::decryptFile(const std::filesystem::path& source) {
  if (source.empty()) throw Error(kFileNameEmpty);
  decryptBytes(readWholeFile(source));
}

void UploadCipher::saveResult(const std::filesystem::path& destination) const {
  if (destination.empty()) throw Error(kFileNameEmpty);
  replaceWholeFile(destination, m_result);
}

}  // namespace athup::security
