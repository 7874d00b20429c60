#pragma once

#include <optional>
#include <string>
#include <vector>

#include "upload/response_document.h"

namespace athup::upload {

// How the answer of an upload is kept.
enum class ResultKind { RawText = 0, Lines = 1, Document = 2 };

// Where an answer reaches the caller. Each exchange clears them first, so it never reports the
// answer of an earlier one.
struct ResultSlots {
  ResultKind resultKind = ResultKind::Document;
  std::string resultText;                     // kind 0: the raw answer
  std::vector<std::string> resultLines;       // kind 1: name=value lines
  std::optional<ResponseDocument> resultDoc;  // kind 2
  std::string errorText;                      // the last failure text
  std::string parseError;                     // why the last answer did not parse, when it did not
};

}  // namespace athup::upload
