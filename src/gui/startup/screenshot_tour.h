#pragma once

#include <QString>

namespace athup::gui {

class DesktopProgram;

// The documentation's pictures: every window of the desktop program opened in turn without a
// modal loop, grabbed and saved as PNG. Message boxes answer themselves meanwhile so nothing waits
// for a user. A tool of its own; the program's start-up knows nothing of it.
class ScreenshotTour {
 public:
  explicit ScreenshotTour(DesktopProgram& program) : m_program(program) {}

  // Saves the splash, the notice viewer, the period window, the main window with the workflow
  // picture and the help window into the folder; 0 when every picture was written.
  [[nodiscard]] int run(const QString& folder);

 private:
  DesktopProgram& m_program;
};

}  // namespace athup::gui
