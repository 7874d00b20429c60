#pragma once

#include <string>

#include "common/errors.h"

namespace athup::security {

// The file checksum calculator is already computing ("CRC Calc is Busy").
class ECRC32CalcError : public Error {
 public:
  explicit ECRC32CalcError(const std::string& message) : Error(message) {}
};

// A step of the read-only file view failed; the text names the step ("CreateHandleError", ...).
class EFileMappingError : public Error {
 public:
  explicit EFileMappingError(const std::string& message) : Error(message) {}
};

}  // namespace athup::security
