#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class QFrame;
class QLabel;

namespace athup::gui {

// The splash window: title, version labels and a notice panel that slides in from the right. It
// closes itself on the 51st tick of its 150 ms timer, or at once on a key or a mouse click.
class SplashWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kTickMs = 150;
  static constexpr int kLastTick = 50;  // the splash closes when the counter exceeds it
  static constexpr char kResolutionLine[] = "最佳執行解析度應設為800*600 小字型";

  struct Texts {
    QPixmap picture;  // the program's mark; none leaves the place white
    QString title;
    QString version;                // labVersion, "Version 1.05"
    QString versionDate;            // labVerDate, "版本日期：108年03月15日"
    QString welcome;                // lbContinue; empty when opened from the menu
    std::optional<QString> notice;  // nullopt hides the notice panel
  };

  explicit SplashWindow(Texts texts, QWidget* parent = nullptr);

  // Runs once, when the splash first becomes active (the start-up shows the notice viewer here).
  void setOnFirstActivation(std::function<void()> action) {
    m_onFirstActivation = std::move(action);
  }

  // Timer1: one tick of the slide and the count.
  void tick();

  [[nodiscard]] int tickCount() const { return m_ticks; }
  [[nodiscard]] QLabel* label(const char* name) const;
  [[nodiscard]] QFrame* noticeShape() const { return m_shape; }
  [[nodiscard]] QLabel* noticeLabel() const { return m_notice; }
  // The notice as given, before it is broken into lines for the panel.
  [[nodiscard]] QString noticeText() const { return m_texts.notice.value_or(QString()); }
  [[nodiscard]] bool timerRunning() const { return m_timer.isActive(); }

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void done(int result) override;

 private:
  void runFirstActivation();

  Texts m_texts;
  QFrame* m_shape;  // Shape1
  QLabel* m_notice;
  QTimer m_timer;  // Timer1
  int m_ticks = 0;
  bool m_activated = false;
  bool m_inActivation = false;
  bool m_closeAfterActivation = false;
  std::function<void()> m_onFirstActivation;
};

}  // namespace athup::gui
