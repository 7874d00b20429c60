#pragma once

#include <QWidget>
#include <string>

#include "app/program_location.h"

class QLabel;
class QPushButton;
class QTimer;

namespace athup::gui {

// The workflow window: the picture of the upload procedure with five invisible click areas at
// fixed places over its boxes (kFlowAreas, which the pictures are drawn from).
class WorkflowWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr char kHint[] = "請按照箭頭之指向為順序，執行步驟一至步驟三";
  // The hints show after the pointer has rested this long on the picture or an area.
  static constexpr int kHintDelayMs = 1000;

  // The pictures are delivery files of the program; today (ROC YYYMMDD) picks the one in force.
  WorkflowWindow(app::ProgramLocation location, std::string today, QWidget* parent = nullptr);

  // "ORBATH-flow.jpg" before 1 January 2019 (ROC 1080101), "ORBATH-flow_V4.jpg" from then on.
  [[nodiscard]] static std::string pictureName(const std::string& today);

  [[nodiscard]] QPushButton* area(const char* name) const;

 signals:
  void entryRequested();
  void uploadRequested();
  void resultRequested();
  void mediaRequested();
  void closeRequested();
  // The picture could not be loaded; the text says which file.
  void loadFailed(const QString& message);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  app::ProgramLocation m_location;
  std::string m_today;
  void showHint();

  QLabel* m_picture;
  // Qt's hint delay is a style setting without a setter; the window times its own hints.
  QTimer* m_hintTimer;
  QWidget* m_hovered = nullptr;  // one of this window's children
  bool m_loaded = false;
};

}  // namespace athup::gui
