#pragma once

#include <string>
#include <vector>

#include "upload/file_upload.h"
#include "upload/result_slots.h"

namespace athup::upload {

// The exchanges of an upload run: one file sent through the upload component, its answer or its
// failure routed into the result slots.
class TaxCommunication {
 public:
  explicit TaxCommunication(TransportOptions options);

  // Sends one file. `proxyText` is "host:port" (empty: the environment's proxy). Without
  // `doCheck` nothing is uploaded, since only a successful check connects.
  void sendFile(std::vector<std::string> fields, const std::string& uploadFile,
                const std::string& checkUrl, bool doCheck, ResultKind resultKind,
                const std::string& seal, const std::string& proxyText,
                const std::string& uploadUrl);

  // Clears the document and the error text and parses `text` into the document; false (with
  // the parser's message in `parseError`) when it does not parse.
  [[nodiscard]] bool loadResultDocument(const std::string& text);

  [[nodiscard]] const ResultSlots& slots() const { return m_slots; }
  [[nodiscard]] FileUpload& fileUpload() { return m_upload; }

 private:
  void onResult(const std::string& text);
  void onError(const std::string& text);

  ResultSlots m_slots;
  FileUpload m_upload;
};

}  // namespace athup::upload
