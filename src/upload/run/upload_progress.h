#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace athup::upload {

// Where an upload run stands, for a window's counters or a terminal's progress line.
struct UploadProgress {
  int done = 0;                 // files the server accepted so far; -1 after a refusal
  int total = 0;                // documents plus one index document per category
  int indexDocuments = 0;       // of the total
  bool checked = false;         // the pre-upload checks passed and sending begins
  std::uint64_t bytesSent = 0;  // encrypted bytes of the accepted files
  std::string currentFile;      // name.ext of the file being sent, empty between files
};

// Called on the thread that runs the upload, after the counting, after the checks, before each
// file and after each accepted one.
using UploadObserver = std::function<void(const UploadProgress&)>;

// How a run ended. `done` keeps the counter's meaning: files accepted, -1 after a refusal of the
// pre-upload request or of a file.
struct UploadOutcome {
  enum class Ending {
    NotStarted,  // no BAN, or a pre-upload check failed: nothing was sent
    Completed,   // every file was accepted
    Failed,      // refused or failed; the message has been shown
    Stopped,     // the user stopped it between files
  };
  Ending ending = Ending::NotStarted;
  int done = 0;
  int total = 0;
  [[nodiscard]] bool completed() const { return ending == Ending::Completed; }
};

}  // namespace athup::upload
