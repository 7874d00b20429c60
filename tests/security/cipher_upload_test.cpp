#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "cipher_reference.h"
#include "common/errors.h"
#include "security/cipher/bcd_padding.h"
#include "security/cipher/upload_cipher.h"
#include "support/temp_dir.h"

namespace athup::security {
namespace {

using reference::fromHex;
using reference::md5;

std::string sample(std::size_t length) {
  std::string data;
  for (std::size_t i = 0; i < length; ++i) data.push_back(static_cast<char>((i * 7 + 3) & 0xFF));
  return data;
}

// A reference of the chaining and mask stages written straight from the file layout, with its own
// MD5 and CRC (OpenSSL and zlib), so a fault shared by both directions of the cipher shows.
std::string crcText(std::string_view bytes) {
  char text[9];
  const auto crc =
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
  std::snprintf(text, sizeof text, "%08lX", crc);
  return text;
}

std::string xor16(std::string a, std::string_view b) {
  for (std::size_t i = 0; i < 16; ++i) a[i] = static_cast<char>(a[i] ^ b[i]);
  return a;
}

std::string referenceChainAndMask(const std::string& padded, const std::string& pw) {
  const std::string k1 = md5(pw + "QuintelWorkbox");
  const std::string k2 = md5(std::string(pw.rbegin(), pw.rend()) + "QuintelWorkbox");
  std::string previous = md5(std::string_view(padded).substr(16));
  std::string out;
  for (std::size_t offset = 0, block = 0; offset < padded.size(); offset += 16, ++block) {
    previous = xor16(xor16(padded.substr(offset, 16), previous), k1);
    out += block % 2 == 0 ? xor16(previous, k2) : previous;
  }
  return out;
}

constexpr const char* kPw = "12345678";
constexpr const char* kPasswordOrData = "Password or Data is error!!";

TEST(UploadCipher, KnownOutputComputedIndependently) {
  // Vectors from a separate Python implementation (hashlib, zlib) of the same layout.
  struct Case {
    std::size_t length;
    const char* hex;
  };
  const Case cases[] = {
      {48,
       "0be7069dd5c745dbe10fcaddd22a6ab4a994a46470a4b5ec36540b64a9795a139b7776eda557d56b519f5a2d22"
       "dafa247e4b62aecbe18ccd257e2a5c964f1757"},
      {56,
       "6030761f74fb8163cba94f5fe286ab1ec243d4e6d19871541cf28ee699d59bb9f0a0066f046b11d37b39dfaf12"
       "763b8e72f3447641e801c4449292939fdb9ccdb5ec71117d0b7a412e6dfcfc35506fa0"},
  };
  for (const auto& c : cases) {
    UploadCipher cipher;
    cipher.setPassword(kPw);
    cipher.encryptBytes(sample(c.length));
    EXPECT_EQ(cipher.resultText(), fromHex(c.hex)) << c.length;
    cipher.decryptBytes(fromHex(c.hex));
    EXPECT_EQ(cipher.resultText(), sample(c.length)) << c.length;
  }
}

TEST(UploadCipher, PadsWithBcdCountsAfterTheChecksumText) {
  struct Case {
    std::size_t length;
    std::size_t padCount;
    char padByte;
    std::size_t encryptedLength;
  };
  const Case cases[] = {
      {48, 8, '\x08', 64},  {56, 16, '\x16', 80}, {54, 2, '\x02', 64}, {50, 6, '\x06', 64},
      {60, 12, '\x12', 80}, {62, 10, '\x10', 80}, {55, 1, '\x01', 64}, {1000, 16, '\x16', 1024},
  };
  for (const auto& c : cases) {
    const std::string data = sample(c.length);
    const std::string padded = data + crcText(data) + std::string(c.padCount, c.padByte);
    UploadCipher cipher;
    cipher.setPassword(kPw);
    cipher.encryptBytes(data);
    EXPECT_EQ(cipher.resultText().size(), c.encryptedLength) << c.length;
    EXPECT_EQ(cipher.resultText(), referenceChainAndMask(padded, kPw)) << c.length;
  }
}

TEST(UploadCipher, BcdPadBytes) {
  const std::pair<std::size_t, std::uint8_t> bytes[] = {
      {1, 0x01}, {9, 0x09}, {10, 0x10}, {16, 0x16}, {99, 0x99}};
  for (const auto& [count, byte] : bytes) {
    EXPECT_EQ(bcdByte(count), byte) << count;
    EXPECT_EQ(bcdCount(byte), count) << count;
  }
  for (const std::uint8_t bad : {0x0A, 0x0F, 0xA0, 0x1B, 0xFF}) {
    EXPECT_FALSE(bcdCount(bad).has_value()) << int{bad};
  }
}

TEST(UploadCipher, ChecksInTheirOrder) {
  struct Case {
    bool encrypt;
    std::size_t length;
    const char* pw;
    const char* message;
  };
  const Case cases[] = {
      {true, 46, kPw, "Data is not enough!!"},
      {true, 47, "1234567", "Data is not enough!!"},
      {true, 0, kPw, "Data is not enough!!"},
      {true, 48, "1234567", "Password of length must At least 8 !!"},
      {true, 48, "", "Password of length must At least 8 !!"},
      // Seven characters are too few even when their Big5 form has fourteen bytes.
      {true, 48, "密碼密碼密碼密", "Password of length must At least 8 !!"},
      {false, 50, "1234567", "Encry Data length error!!"},
      {false, 47, kPw, "Encry Data length error!!"},
      {false, 32, "1234567", "Encry Data is not enough!!At least 48 bytes !!"},
      {false, 0, kPw, "Encry Data is not enough!!At least 48 bytes !!"},
      {false, 64, "1234567", "Password of length must At least 8 !!"},
  };
  for (const auto& c : cases) {
    UploadCipher cipher;
    cipher.setPassword(c.pw);
    try {
      if (c.encrypt) {
        cipher.encryptBytes(sample(c.length));
      } else {
        cipher.decryptBytes(sample(c.length));
      }
      ADD_FAILURE() << "no error for length " << c.length;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), c.message) << c.length << " " << c.pw;
    }
  }
}

TEST(UploadCipher, WrongPasswordAndEveryChangedByteFail) {
  UploadCipher cipher;
  cipher.setPassword(kPw);
  cipher.encryptBytes(sample(70));
  const std::string encrypted = cipher.resultText();

  UploadCipher other;
  other.setPassword("12345679");
  try {
    other.decryptBytes(encrypted);
    ADD_FAILURE() << "wrong password accepted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kPasswordOrData);
  }

  for (std::size_t i = 0; i < encrypted.size(); ++i) {
    for (const char flip : {'\x01', '\x80'}) {
      std::string changed = encrypted;
      changed[i] = static_cast<char>(changed[i] ^ flip);
      try {
        cipher.decryptBytes(changed);
        ADD_FAILURE() << "change at " << i << " not caught";
      } catch (const Error& e) {
        EXPECT_STREQ(e.what(), kPasswordOrData);
      }
    }
  }
}

TEST(UploadCipher, RejectsPadCountsThatAreNotBcdOrTooLarge) {
  // Hand-made files whose last plaintext byte is not a valid pad count for them.
  const std::string body = sample(40);
  for (const char last : {'\x0A', '\x41', '\x99', '\x48'}) {
    const std::string padded =
        body + crcText(body) + std::string(16, '\x16').replace(15, 1, 1, last);
    UploadCipher cipher;
    cipher.setPassword(kPw);
    try {
      cipher.decryptBytes(referenceChainAndMask(padded, kPw));
      ADD_FAILURE() << "last byte " << int{static_cast<unsigned char>(last)} << " accepted";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), kPasswordOrData);
    }
  }
}

TEST(UploadCipher, DeterministicAndPasswordDependent) {
  UploadCipher a;
  UploadCipher b;
  a.setPassword(kPw);
  b.setPassword(kPw);
  a.encryptBytes(sample(100));
  b.encryptBytes(sample(100));
  EXPECT_EQ(a.resultText(), b.resultText());
  b.setPassword("12345679");
  b.encryptBytes(sample(100));
  EXPECT_NE(a.resultText(), b.resultText());
}

TEST(UploadCipher, NonAsciiPasswordRoundTrips) {
  UploadCipher cipher;
  cipher.setPassword("密碼密碼密碼密碼");
  cipher.encryptBytes(sample(48));
  cipher.decryptBytes(std::string(cipher.resultText()));
  EXPECT_EQ(cipher.resultText(), sample(48));
}

TEST(UploadCipher, FailedOperationKeepsThePreviousResult) {
  UploadCipher cipher;
  cipher.setPassword(kPw);
  cipher.encryptBytes(sample(48));
  const std::string before = cipher.resultText();
  EXPECT_THROW(cipher.encryptBytes(sample(46)), Error);
  EXPECT_THROW(cipher.decryptBytes(sample(64)), Error);
  EXPECT_THROW(cipher.encryptFile("/nonexistent/athup/file.zip"), Error);
  EXPECT_EQ(cipher.resultText(), before);
}

TEST(UploadCipher, FilesAndStreams) {
  testing::TempDir dir;
  const auto source = dir.write("a.zip", sample(300));
  UploadCipher cipher;
  cipher.setPassword(kPw);
  cipher.encryptFile(source);
  cipher.saveResult(dir / "a.enp");
  EXPECT_EQ(testing::readFile(dir / "a.enp"), cipher.resultText());

  std::istringstream stream(testing::readFile(dir / "a.enp"));
  stream.seekg(10);
  cipher.decryptStream(stream);
  EXPECT_EQ(cipher.resultText(), sample(300));
  EXPECT_EQ(stream.tellg(), 0);

  cipher.decryptFile(dir / "a.enp");
  cipher.saveResult(dir / "a.enp");  // replaces the existing file
  EXPECT_EQ(testing::readFile(dir / "a.enp"), sample(300));

  for (const auto& call :
       {+[](UploadCipher& c) { c.encryptFile(""); }, +[](UploadCipher& c) { c.decryptFile(""); },
        +[](UploadCipher& c) { c.saveResult(""); }}) {
    try {
      call(cipher);
      ADD_FAILURE() << "empty name accepted";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "File Name is Empty!!");
    }
  }
}

TEST(UploadCipher, FailedSaveLeavesNoPartialFile) {
  testing::TempDir dir;
  UploadCipher cipher;
  cipher.setPassword(kPw);
  cipher.encryptBytes(sample(48));
  std::filesystem::create_directory(dir / "taken");  // a folder cannot be replaced by a file
  EXPECT_THROW(cipher.saveResult(dir / "taken"), Error);
  EXPECT_THROW(cipher.saveResult(dir / "missing" / "x.enp"), Error);
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1u);  // only the folder
}

}  // namespace
}  // namespace athup::security
