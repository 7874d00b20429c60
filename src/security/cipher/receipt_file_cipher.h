#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace athup::security {

// System codes of the receipt-file cipher; each selects the header text of its files. This
// program writes only its own code; Custom takes the header text from HeadPw.
enum class TaxSystem { ORB, Custom };

// The receipt-file cipher, also used for the version record. Layout with CheckCRC on:
//   0   8  CRC-32 text (eight upper-case hex digits) of everything after it
//   8  16  header block MD5(PW) ^ MD5(header text), which checks the password
//  24   L  body: plaintext byte i XOR MD5(PW)[i mod 16]
// Without CheckCRC the file starts at the header block.
// Passwords and header texts are UTF-8 and hashed in their Big5 form. With ClearPw on (the
// default) the password, header text and keys are wiped after every operation, failed or not.
class ReceiptFileCipher {
 public:
  explicit ReceiptFileCipher(TaxSystem tax = TaxSystem::ORB) : m_tax(tax) {}
  ~ReceiptFileCipher();
  ReceiptFileCipher(const ReceiptFileCipher&) = delete;
  ReceiptFileCipher& operator=(const ReceiptFileCipher&) = delete;

  void setSource(std::filesystem::path path) { m_source = std::move(path); }
  void setDestination(std::filesystem::path path) { m_destination = std::move(path); }
  void setPassword(std::string pw);
  void setTaxSystem(TaxSystem tax) { m_tax = tax; }
  void setHeadPassword(std::string headPw);
  void setCheckCrc(bool on) { m_checkCrc = on; }
  void setClearPassword(bool on) { m_clearPw = on; }

  [[nodiscard]] const std::filesystem::path& source() const { return m_source; }
  [[nodiscard]] const std::filesystem::path& destination() const { return m_destination; }
  [[nodiscard]] const std::string& password() const { return m_pw; }
  [[nodiscard]] TaxSystem taxSystem() const { return m_tax; }
  [[nodiscard]] bool checkCrc() const { return m_checkCrc; }
  [[nodiscard]] bool clearPassword() const { return m_clearPw; }
  // The checksum text of the last operation.
  [[nodiscard]] const std::string& crcText() const { return m_crc; }
  [[nodiscard]] static std::string_view version() { return "20110520-001"; }

  // Read the whole FileSource, process it and replace FileDestination (written completely or
  // not at all).
  void encrypt();
  void decrypt();

  // The same processing on bytes in memory, without the file-name checks.
  [[nodiscard]] std::string encryptBytes(std::string_view plain);
  [[nodiscard]] std::string decryptBytes(std::string_view stored);

 private:
  void checkFiles() const;
  void wipeSecretsIfAsked();

  std::filesystem::path m_source;
  std::filesystem::path m_destination;
  std::string m_pw;
  std::string m_headPw;
  TaxSystem m_tax;
  bool m_checkCrc = true;
  bool m_clearPw = true;
  std::string m_crc;
};

}  // namespace athup::security
