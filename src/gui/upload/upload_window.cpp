#include "gui/upload/upload_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/file_helpers.h"
#include "common/text_helpers.h"
#include "gui/shell/help_text_window.h"
#include "gui/upload/gui_thread_call.h"
#include "gui/upload/gui_thread_certificate.h"
#include "gui/upload/gui_thread_interaction.h"

namespace athup::gui {

namespace {

constexpr const char* kHelpFile = "HELP_ORBATT_STEP21.txt";
constexpr int kProgressInterval = 100;
constexpr int kAnimationInterval = 1000;

QString periodText(const std::string& period) {
  if (period.size() < 5) return QString::fromStdString(period);
  return QString::fromStdString(period.substr(0, 3) + "年" + period.substr(3, 2) + "月");
}

}  // namespace

UploadWindow::UploadWindow(UploadWindowContext context, QWidget* parent)
    : QDialog(parent),
      m_context(std::move(context)),
      m_panel(new QWidget(this)),
      m_period(new QLabel(m_panel)),
      m_ban(new QLineEdit(m_panel)),
      m_upload(new QPushButton(QStringLiteral("執行上傳"), m_panel)),
      m_close(new QPushButton(QStringLiteral("離開"), m_panel)),
      m_stop(new QPushButton(QStringLiteral("停止上傳"), this)),
      m_help(new QToolButton(m_panel)),
      m_fileDesc(new QLabel(this)),
      m_status(new QLabel(this)),
      m_sending(new QLabel(this)),
      m_progressTimer(new QTimer(this)),
      m_animationTimer(new QTimer(this)) {
  setObjectName(QStringLiteral("UploadWindow"));
  setWindowTitle(QStringLiteral("(ORBATH201)附件上傳"));
  m_panel->setObjectName(QStringLiteral("panel"));
  m_period->setObjectName(QStringLiteral("periodLabel"));
  m_ban->setObjectName(QStringLiteral("banEdit"));
  m_upload->setObjectName(QStringLiteral("uploadButton"));
  m_close->setObjectName(QStringLiteral("closeButton"));
  m_stop->setObjectName(QStringLiteral("stopButton"));
  m_help->setObjectName(QStringLiteral("helpButton"));
  m_fileDesc->setObjectName(QStringLiteral("fileDescLabel"));
  m_status->setObjectName(QStringLiteral("statusLabel"));
  m_sending->setObjectName(QStringLiteral("sendingLabel"));

  m_period->setText(periodText(m_context.period));
  m_ban->setMaxLength(8);
  m_help->setText(QStringLiteral("?"));
  m_help->setToolTip(QStringLiteral("顯示填表說明"));
  m_stop->setEnabled(false);
  m_sending->setVisible(false);
  m_progressTimer->setInterval(kProgressInterval);
  m_animationTimer->setInterval(kAnimationInterval);

  auto* grid = new QGridLayout(m_panel);
  grid->addWidget(new QLabel(QStringLiteral("資料所屬年月："), m_panel), 0, 0);
  grid->addWidget(m_period, 0, 1);
  grid->addWidget(m_help, 0, 2, Qt::AlignRight);
  grid->addWidget(new QLabel(QStringLiteral("營利事業統一編號："), m_panel), 1, 0);
  grid->addWidget(m_ban, 1, 1, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_upload);
  buttons->addWidget(m_close);
  grid->addLayout(buttons, 2, 0, 1, 3);

  auto* progress = new QHBoxLayout;
  progress->addWidget(m_status);
  progress->addWidget(m_sending);
  progress->addStretch();
  progress->addWidget(m_stop);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_panel);
  layout->addWidget(m_fileDesc);
  layout->addLayout(progress);

  connect(m_upload, &QPushButton::clicked, this, &UploadWindow::startUpload);
  connect(m_close, &QPushButton::clicked, this, &QDialog::close);
  connect(m_help, &QToolButton::clicked, this, &UploadWindow::showHelp);
  connect(m_stop, &QPushButton::clicked, this, [this] {
    if (m_run) m_run->requestStop();
    m_stop->setEnabled(false);
  });
  connect(m_progressTimer, &QTimer::timeout, this, &UploadWindow::showProgress);
  connect(m_animationTimer, &QTimer::timeout, this, &UploadWindow::animate);
}

UploadWindow::~UploadWindow() {
  // The window never closes while a run is going; this covers a parent torn down regardless.
  if (m_worker.joinable()) {
    if (m_run) m_run->requestStop();
    m_worker.join();
  }
}

QString UploadWindow::sendingText(int step) {
  static const char* const kTexts[] = {"(傳檔中.   )", "(傳檔中..  )", "(傳檔中... )",
                                       "(傳檔中....)"};
  return QString::fromUtf8(kTexts[((step % 4) + 4) % 4]);
}

void UploadWindow::showHelp() {
  HelpTextWindow::showHelpFile(this, m_context.interaction,
                               common::pathFromUtf8(m_context.helpPath), kHelpFile);
}

void UploadWindow::startUpload() {
  if (running()) return;
  const std::string ban = common::trimBlanks(m_ban->text().toStdString());
  if (ban.empty()) {
    m_context.interaction.showMessage(MessageKind::Plain, upload::UploadRun::kNoBanMessage);
    return;
  }
  m_workerInteraction = std::make_unique<GuiThreadInteraction>(m_context.interaction, this);
  m_workerCertificate = std::make_unique<GuiThreadCertificate>(m_context.certificate, this);
  m_run = m_context.makeRun(*m_workerInteraction, *m_workerCertificate);
  if (!m_run) return;
  if (m_context.chooseFilingFolder) {
    m_run->setFolderChooser([this] {
      return callOnThreadOf(this, [this] { return m_context.chooseFilingFolder(this); });
    });
  }
  m_run->setObserver([this](const upload::UploadProgress& progress) {
    m_total = progress.total;
    m_indexDocuments = progress.indexDocuments;
    m_checked = progress.checked;
    m_done = progress.done;
  });
  m_done = 0;
  m_total = 0;
  m_checked = false;
  m_animationStep = 0;
  m_panel->setEnabled(false);
  m_stop->setEnabled(true);
  m_progressTimer->start();
  m_animationTimer->start();
  animate();
  m_worker = std::thread([this, ban] {
    upload::UploadOutcome outcome;
    try {
      outcome = m_run->run(ban);
    } catch (const std::exception& error) {
      // An error the run did not expect still reaches the user, on the window's thread.
      const std::string text = error.what();
      try {
        m_workerInteraction->showMessage(MessageKind::Error, text);
      } catch (...) {
      }
    }
    QMetaObject::invokeMethod(
        this,
        [this, outcome] {
          m_outcome = outcome;
          finished();
        },
        Qt::QueuedConnection);
  });
}

void UploadWindow::showProgress() {
  const int done = m_done;
  const int total = m_total;
  if (m_checked) {
    const int indexDocuments = m_indexDocuments;
    m_fileDesc->setText(QStringLiteral("(%1個附件檔案；%2個索引檔案)")
                            .arg(total - indexDocuments)
                            .arg(indexDocuments));
  }
  if (done == -1) {
    m_status->setText(QStringLiteral("0/%1").arg(total));
  } else {
    m_status->setText(QStringLiteral("%1/%2").arg(done).arg(total));
  }
  if ((done == total && m_checked) || done == -1) {
    m_progressTimer->stop();
    m_animationTimer->stop();
    m_sending->setVisible(false);
  }
}

void UploadWindow::animate() {
  m_sending->setText(sendingText(m_animationStep));
  m_sending->setVisible(true);
  ++m_animationStep;
}

void UploadWindow::finished() {
  if (m_worker.joinable()) m_worker.join();
  showProgress();
  m_progressTimer->stop();
  m_animationTimer->stop();
  m_sending->setVisible(false);
  m_stop->setEnabled(false);
  m_panel->setEnabled(true);
  m_run.reset();
  close();
}

void UploadWindow::closeEvent(QCloseEvent* event) {
  // The run's questions are shown over this window; it stays until the run has ended.
  if (running()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void UploadWindow::reject() {
  if (running()) return;  // Esc during a run
  QDialog::reject();
}

}  // namespace athup::gui
