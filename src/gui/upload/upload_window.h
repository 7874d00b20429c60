#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "common/interaction.h"
#include "upload/certificate_port.h"
#include "upload/run/upload_run.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QWidget;

namespace athup::gui {

class GuiThreadCertificate;
class GuiThreadInteraction;

// What the upload window works with: the desktop's ports, the period, the help folder, and how
// a run and the filing-file folder question are made.
struct UploadWindowContext {
  Interaction& interaction;
  upload::CertificatePort& certificate;
  std::string period;    // gDataYM
  std::string helpPath;  // gHelpPath
  // Builds the run over ports that may be called from the run's own thread.
  std::function<std::unique_ptr<upload::UploadRun>(Interaction&, upload::CertificatePort&)> makeRun;
  // The folder of the uploaded filing files (the zero-rate confirmation); nullopt when cancelled.
  std::function<std::optional<std::string>(QWidget* parent)> chooseFilingFolder;
};

// 附件上傳: takes a BAN and runs the upload on a thread of its own, so the window keeps
// repainting, counting and animating, and 停止上傳 can stop the run between files. Every
// question and message of the run is shown on this window's thread. A run that started always
// ends by closing the window.
class UploadWindow : public QDialog {
  Q_OBJECT
 public:
  explicit UploadWindow(UploadWindowContext context, QWidget* parent = nullptr);
  ~UploadWindow() override;

  [[nodiscard]] QLineEdit* banEdit() const { return m_ban; }
  [[nodiscard]] QPushButton* uploadButton() const { return m_upload; }
  [[nodiscard]] QPushButton* stopButton() const { return m_stop; }
  [[nodiscard]] QPushButton* closeButton() const { return m_close; }
  [[nodiscard]] QLabel* statusLabel() const { return m_status; }
  [[nodiscard]] QLabel* fileDescriptionLabel() const { return m_fileDesc; }
  [[nodiscard]] QLabel* sendingLabel() const { return m_sending; }
  [[nodiscard]] QWidget* panel() const { return m_panel; }
  [[nodiscard]] bool running() const { return m_worker.joinable(); }
  // How the last run ended (NotStarted until one ran).
  [[nodiscard]] const upload::UploadOutcome& outcome() const { return m_outcome; }

  // "(傳檔中.   )" ... "(傳檔中....)" for the animation step modulo 4.
  [[nodiscard]] static QString sendingText(int step);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void startUpload();
  void showProgress();
  void animate();
  void finished();
  void showHelp();

  UploadWindowContext m_context;
  QWidget* m_panel;
  QLabel* m_period;
  QLineEdit* m_ban;
  QPushButton* m_upload;
  QPushButton* m_close;
  QPushButton* m_stop;
  QToolButton* m_help;
  QLabel* m_fileDesc;
  QLabel* m_status;
  QLabel* m_sending;
  QTimer* m_progressTimer;
  QTimer* m_animationTimer;

  std::unique_ptr<GuiThreadInteraction> m_workerInteraction;
  std::unique_ptr<GuiThreadCertificate> m_workerCertificate;
  std::unique_ptr<upload::UploadRun> m_run;
  std::thread m_worker;
  upload::UploadOutcome m_outcome;
  // Written by the run's thread, read by the progress timer.
  std::atomic<int> m_done{0};
  std::atomic<int> m_total{0};
  std::atomic<int> m_indexDocuments{0};
  std::atomic<bool> m_checked{false};
  int m_animationStep = 0;
};

}  // namespace athup::gui
