#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

namespace athup::security {

// The upload cipher. The filing server decrypts what it writes, so every stage is a fixed format:
// the data gets its CRC-32 text appended, is padded to whole 16-byte blocks with BCD pad counts,
// chained with an MD5-derived IV and key, and every even block is masked with a second key.
// The output is nothing but those blocks: 16 * (floor((L + 8) / 16) + 1) bytes for L input bytes.
//
// Every operation replaces the result only when it succeeds; a failed one keeps the previous
// result. The password is text (UTF-8) and is hashed in its Big5 form.
class UploadCipher {
 public:
  UploadCipher() = default;
  ~UploadCipher();
  UploadCipher(const UploadCipher&) = delete;
  UploadCipher& operator=(const UploadCipher&) = delete;

  void setPassword(std::string pw);
  [[nodiscard]] const std::string& password() const { return m_pw; }

  // Encrypt or decrypt a file's whole content into the result.
  void encryptFile(const std::filesystem::path& source);
  void decryptFile(const std::filesystem::path& source);

  // The same on an open stream: read whole from position 0 and left at position 0.
  void encryptStream(std::istream& stream);
  void decryptStream(std::istream& stream);

  // The same on bytes in memory.
  void encryptBytes(std::string_view data);
  void decryptBytes(std::string_view data);

  // The result bytes of the last successful operation.
  [[nodiscard]] const std::string& resultText() const { return m_result; }

  // Writes the result to the file, replacing it.
  void saveResult(const std::filesystem::path& destination) const;

 private:
  std::string m_pw;
  std::string m_result;
};

}  // namespace athup::security
