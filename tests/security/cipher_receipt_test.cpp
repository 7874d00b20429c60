#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>

#include "cipher_reference.h"
#include "common/errors.h"
#include "security/cipher/receipt_file_cipher.h"
#include "security/codecs/stream_checksum.h"
#include "support/temp_dir.h"

namespace athup::security {
namespace {

using reference::fromHex;
using reference::md5;

// From a separate Python implementation (hashlib, zlib) of the receipt-file layout.
constexpr const char* kReceiptHex =
    "4344363234353145c7afc1033c1d62773dc8921bf116123264971996c6ec0742bd";
constexpr const char* kVersionHex =
    "364535443839303541891c7639a49594d83b487a79edb492f8a5e2d5f57ad8874c9a176296b09c3c93c68aad";

std::string errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ReceiptCipher, KnownFilesAndTheirLayout) {
  testing::TempDir dir;
  ReceiptFileCipher cipher;
  cipher.setSource(dir.write("plain.txt", "ABCDEFGHI"));
  cipher.setDestination(dir / "r.prn");
  cipher.setPassword("12345678");
  cipher.encrypt();
  const std::string stored = testing::readFile(dir / "r.prn");
  EXPECT_EQ(stored, fromHex(kReceiptHex));
  ASSERT_EQ(stored.size(), 33u);
  EXPECT_EQ(cipher.crcText(), stored.substr(0, 8));
  // Header block: MD5(password) ^ MD5 of the system's header text.
  const std::string h1 = md5("12345678");
  const std::string h2 = md5("pq7xk2/wr9/ma8");
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(stored[8 + i], static_cast<char>(h1[i] ^ h2[i])) << i;
  }
  // Body byte i is plaintext byte i ^ H1[i mod 16].
  EXPECT_EQ(stored[24], static_cast<char>('A' ^ h1[0]));
  EXPECT_EQ(stored[32], static_cast<char>('I' ^ h1[8]));

  cipher.setSource(dir / "r.prn");
  cipher.setDestination(dir / "back.txt");
  cipher.setPassword("12345678");
  cipher.decrypt();
  EXPECT_EQ(testing::readFile(dir / "back.txt"), "ABCDEFGHI");

  ReceiptFileCipher version;
  version.setPassword("renewSealWord");
  EXPECT_EQ(version.decryptBytes(fromHex(kVersionHex)), "[Version]\r\nnow=105\r\n");
}

TEST(ReceiptCipher, BodyLongerThanOneKeyRoundTrips) {
  std::string plain;
  for (int i = 0; i < 1000; ++i) plain.push_back(static_cast<char>(i * 31));
  ReceiptFileCipher cipher;
  cipher.setClearPassword(false);
  cipher.setPassword("12345678");
  const std::string stored = cipher.encryptBytes(plain);
  ASSERT_EQ(stored.size(), 8 + 16 + plain.size());
  const std::string h1 = md5("12345678");
  EXPECT_EQ(stored[24 + 17], static_cast<char>(plain[17] ^ h1[1]));  // key restarts every 16 bytes
  EXPECT_EQ(cipher.decryptBytes(stored), plain);
}

TEST(ReceiptCipher, FileAndPasswordChecksInTheirOrder) {
  testing::TempDir dir;
  const auto nine = dir.write("nine", "123456789");
  const auto eight = dir.write("eight", "12345678");
  struct Case {
    std::filesystem::path source;
    std::filesystem::path destination;
    std::string pw;
    const char* message;
  };
  const Case cases[] = {
      {"", "", "", "來源檔案不可以空白!!"},
      {nine, "", "", "目的檔案不可以空白!!"},
      {dir / "none", dir / "out", "", "來源檔案不存在!!"},
      {nine, dir / "out", "", "密碼不可以空白!!"},
      {eight, dir / "out", "pw", "來源資料資料異常(資料量不足)!!"},
  };
  for (const bool encrypt : {true, false}) {
    for (const auto& c : cases) {
      ReceiptFileCipher cipher;
      cipher.setSource(c.source);
      cipher.setDestination(c.destination);
      cipher.setPassword(c.pw);
      EXPECT_EQ(errorOf([&] { encrypt ? cipher.encrypt() : cipher.decrypt(); }), c.message)
          << encrypt << " " << c.message;
      EXPECT_FALSE(std::filesystem::exists(dir / "out"));
    }
  }
}

TEST(ReceiptCipher, DecryptionFailures) {
  const std::string stored = fromHex(kReceiptHex);  // checksum text "CD62451E"
  auto changed = [&](std::size_t at, char mask) {
    std::string bytes = stored;
    bytes[at] = static_cast<char>(bytes[at] ^ mask);
    return bytes;
  };
  std::string lowerChecksum = stored;  // the checksum text is compared byte for byte
  for (std::size_t i = 0; i < 8; ++i) lowerChecksum[i] = static_cast<char>(std::tolower(stored[i]));
  // A valid checksum over a header block and no body.
  const std::string header = stored.substr(8, 16);
  const std::string headerOnly = standardCrc32Text(header) + header;
  const std::string shortHeader = standardCrc32Text(header.substr(0, 9)) + header.substr(0, 9);

  struct Case {
    std::string bytes;
    std::string pw;
    const char* message;
  };
  const Case cases[] = {
      {stored, "12345679", "密碼錯誤或資料異常"},
      {changed(30, 0x01), "12345678", "來源資料資料可能毀損(CRC ERROR)!!"},
      {changed(8, 0x40), "12345678", "來源資料資料可能毀損(CRC ERROR)!!"},
      {changed(0, 0x01), "12345678", "來源資料資料可能毀損(CRC ERROR)!!"},
      {lowerChecksum, "12345678", "來源資料資料可能毀損(CRC ERROR)!!"},
      {headerOnly, "12345678", "來源資料錯誤，資料過短!!"},
      {shortHeader, "12345678", "來源資料錯誤，資料過短!!"},
      {stored.substr(0, 8), "12345678", "來源資料資料異常(資料量不足)!!"},
  };
  for (const auto& c : cases) {
    ReceiptFileCipher cipher;
    cipher.setPassword(c.pw);
    EXPECT_EQ(errorOf([&] { (void)cipher.decryptBytes(c.bytes); }), c.message) << c.message;
  }
}

TEST(ReceiptCipher, WithoutChecksumTheFileStartsAtTheHeader) {
  ReceiptFileCipher cipher;
  cipher.setCheckCrc(false);
  cipher.setClearPassword(false);
  cipher.setPassword("12345678");
  const std::string stored = cipher.encryptBytes("A");
  EXPECT_EQ(stored, fromHex(kReceiptHex).substr(8, 17));
  EXPECT_EQ(cipher.decryptBytes(stored), "A");
  EXPECT_EQ(errorOf([&] { (void)cipher.encryptBytes(""); }), "來源資料空白!!");
  EXPECT_EQ(errorOf([&] { (void)cipher.decryptBytes(stored.substr(0, 16)); }),
            "來源資料錯誤，資料過短!!");
}

TEST(ReceiptCipher, PasswordIsWipedAfterEveryOperationUnlessKept) {
  ReceiptFileCipher cipher;
  cipher.setPassword("12345678");
  (void)cipher.encryptBytes("123456789");
  EXPECT_TRUE(cipher.password().empty());
  EXPECT_EQ(errorOf([&] { (void)cipher.encryptBytes("123456789"); }), "密碼不可以空白!!");

  cipher.setPassword("12345678");
  EXPECT_EQ(errorOf([&] { (void)cipher.decryptBytes("short"); }), "來源資料資料異常(資料量不足)!!");
  EXPECT_TRUE(cipher.password().empty());  // also after a failure

  cipher.setClearPassword(false);
  cipher.setPassword("12345678");
  (void)cipher.encryptBytes("123456789");
  EXPECT_EQ(cipher.password(), "12345678");
}

TEST(ReceiptCipher, CustomHeaderTextChangesTheHeaderBlock) {
  ReceiptFileCipher custom(TaxSystem::Custom);
  custom.setPassword("12345678");
  custom.setHeadPassword("another header");
  const std::string stored = custom.encryptBytes("ABCDEFGHI");
  EXPECT_NE(stored.substr(8, 16), fromHex(kReceiptHex).substr(8, 16));
  EXPECT_EQ(stored.substr(24), fromHex(kReceiptHex).substr(24));

  ReceiptFileCipher own;
  own.setPassword("12345678");
  EXPECT_EQ(errorOf([&] { (void)own.decryptBytes(stored); }), "密碼錯誤或資料異常");
}

TEST(ReceiptCipher, FailedDecryptKeepsAnExistingDestination) {
  testing::TempDir dir;
  const auto source = dir.write("r.prn", fromHex(kReceiptHex));
  const auto destination = dir.write("r.dprn", "earlier content");
  ReceiptFileCipher cipher;
  cipher.setSource(source);
  cipher.setDestination(destination);
  cipher.setPassword("wrong password");
  EXPECT_EQ(errorOf([&] { cipher.decrypt(); }), "密碼錯誤或資料異常");
  EXPECT_EQ(testing::readFile(destination), "earlier content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            2);
}

}  // namespace
}  // namespace athup::security
