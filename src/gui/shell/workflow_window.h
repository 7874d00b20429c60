#pragma once

#include <QRect>
#include <QWidget>
#include <string>

#include "app/program_location.h"

class QLabel;
class QPushButton;

namespace athup::gui {

// The workflow window: the picture of the upload procedure with five invisible click areas at
// fixed places over its boxes. The pictures are drawn so the areas sit on them.
class WorkflowWindow : public QWidget {
  Q_OBJECT
 public:
  struct Area {
    const char* name;
    QRect rect;
  };
  // sb171 entry, sb120 upload, SpeedButton1 result query, SpeedButton2 media files, sbClose exit.
  static const Area kAreas[5];
  static constexpr char kHint[] = "請按照箭頭之指向為順序，執行步驟一至步驟三";

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

 private:
  app::ProgramLocation m_location;
  std::string m_today;
  QLabel* m_picture;
  bool m_loaded = false;
};

}  // namespace athup::gui
