#pragma once

#include <string>

#include "common/errors.h"

namespace athup::security {

// The file checksum calculator is already computing ("CRC Calc is Busy").
class ChecksumBusyError : public Error {
 public:
  explicit ChecksumBusyError(const std::string& message) : Error(message) {}
};

// A step of the read-only file view failed; the text names the step ("CreateHandleError", ...).
class FileMappingError : public Error {
 public:
  explicit FileMappingError(const std::string& message) : Error(message) {}
};

}  // namespace athup::security
