#include "upload/tax_communication.h"

#include <pugixml.hpp>

#include "common/big5.h"
#include "common/errors.h"

namespace athup::upload {
namespace {

// Kind 1: the "code", "msg" and "date" texts and each "data" item of "datalist" as lines.
std::vector<std::string> answerLines(const std::string& big5Text) {
  std::vector<std::string> lines;
  const std::string utf8 = common::big5ToUtf8(big5Text);
  pugi::xml_document document;
  if (!document.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8)) {
    return lines;
  }
  const pugi::xml_node root = document.first_child();
  for (const char* name : {"code", "msg", "date"}) {
    lines.push_back(std::string(name) + "=" + root.child(name).child_value());
  }
  for (const auto& data : root.child("datalist").children("data")) {
    lines.push_back(std::string(data.attribute("name").value()) + "=" + data.child_value());
  }
  return lines;
}

}  // namespace

TaxCommunication::TaxCommunication(TransportOptions options) : m_upload(std::move(options)) {
  m_upload.setOnError([this](const std::string& text) { onError(text); });
  m_upload.setOnDoneString([this](const std::string& text) { onResult(text); });
  m_upload.setTimerInterval(FileUpload::kDefaultTimerInterval);
}

void TaxCommunication::sendFile(std::vector<std::string> fields, const std::string& uploadFile,
                                const std::string& checkUrl, bool doCheck, ResultKind resultKind,
                                const std::string& seal, const std::string& proxyText,
                                const std::string& uploadUrl) {
  m_slots.resultKind = resultKind;
  m_slots.resultDoc.reset();
  m_slots.errorText.clear();
  m_slots.parseError.clear();
  bool useProxy = false;
  std::string proxyHost;
  int proxyPort = 0;
  if (!proxyText.empty()) {
    useProxy = true;
    const auto colon = proxyText.find(':');
    proxyHost = proxyText.substr(0, colon);
    if (colon != std::string::npos) {
      const std::string digits = proxyText.substr(colon + 1, 8);
      for (const char c : digits) {
        if (c < '0' || c > '9') break;
        proxyPort = proxyPort * 10 + (c - '0');
      }
    }
  }
  m_upload.prepare(std::move(fields), checkUrl, seal, proxyPort, proxyHost, useProxy, uploadFile,
                   uploadUrl);
  if (doCheck) m_upload.checkConnect();
  if (m_upload.isConnect()) m_upload.upload();
}

bool TaxCommunication::loadResultDocument(const std::string& text) {
  m_slots.resultDoc.reset();
  m_slots.errorText.clear();
  m_slots.parseError.clear();
  try {
    m_slots.resultDoc = ResponseDocument::parse(text);
    return true;
  } catch (const Error& error) {
    m_slots.parseError = error.what();
    return false;
  }
}

void TaxCommunication::onResult(const std::string& text) {
  m_slots.resultText.clear();
  switch (m_slots.resultKind) {
    case ResultKind::RawText:
      m_slots.resultText = text;
      break;
    case ResultKind::Lines:
      m_slots.resultLines = answerLines(text);
      break;
    case ResultKind::Document:
      try {
        m_slots.resultDoc = ResponseDocument::parse(text);
      } catch (const Error& error) {
        m_slots.resultDoc.reset();
        m_slots.parseError = error.what();  // reported under "TAXX0000" by the flow
      }
      break;
  }
}

void TaxCommunication::onError(const std::string& text) {
  m_slots.resultDoc.reset();
  m_slots.errorText = text;
}

}  // namespace athup::upload
