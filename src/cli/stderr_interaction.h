#pragma once

#include <iosfwd>

#include "common/interaction.h"

namespace athup::cli {

// The command line's answer to the interaction port: message boxes, declined questions and status
// texts become lines on standard error; nothing is asked.
class StderrInteraction : public DecliningInteraction {
 public:
  explicit StderrInteraction(std::ostream& err) : m_err(err) {}

  void showMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
  void showStatus(StatusKind kind, const std::string& text) override;

 private:
  std::ostream& m_err;
};

}  // namespace athup::cli
