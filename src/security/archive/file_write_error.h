#pragma once

#include <string>

#include "common/errors.h"

namespace athup::security {

// A failed create, write, sync or rename of a file we write. Besides the full text it keeps the
// system's own words for the cause ("No space left on device"), which callers append to their
// messages.
class FileWriteError : public Error {
 public:
  FileWriteError(const std::string& what, std::string cause)
      : Error(what + ": " + cause), m_cause(std::move(cause)) {}

  [[nodiscard]] const std::string& cause() const { return m_cause; }

 private:
  std::string m_cause;
};

}  // namespace athup::security
