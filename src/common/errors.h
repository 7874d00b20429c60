#pragma once

#include <stdexcept>
#include <string>

namespace athup {

// A failure the user should read: the message is the system's own text (UTF-8), shown as it is.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A flow has already shown its message and stops; callers report nothing more.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "silent abort"; }
};

// The user stopped an upload. Helpers that swallow other errors let this one through.
class StoppedByUser : public std::exception {
 public:
  const char* what() const noexcept override { return "cancelled by the user"; }
};

}  // namespace athup
