#include "gui/index/file_selection_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/dialogs/file_dialog.h"

namespace athup::gui {

FileSelectionDialog::FileSelectionDialog(app::SettingsStore& settings, std::string defaultFolder,
                                         QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_defaultFolder(std::move(defaultFolder)),
      m_default(new QRadioButton(QStringLiteral("系統預設目錄"), this)),
      m_custom(new QRadioButton(QStringLiteral("自訂目錄"), this)),
      m_edit(new QLineEdit(this)),
      m_browse(new QPushButton(QStringLiteral("..."), this)) {
  setObjectName(QStringLiteral("FileSelectionDialog"));
  setWindowTitle(QStringLiteral("選擇申報資料檔案存放路徑"));
  m_custom->setObjectName(QStringLiteral("customButton"));
  m_edit->setObjectName(QStringLiteral("folderEdit"));
  auto* group = new QGroupBox(QStringLiteral("申報檔存放位置"), this);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(m_default);
  auto* customRow = new QHBoxLayout;
  customRow->addWidget(m_custom);
  customRow->addWidget(m_edit);
  customRow->addWidget(m_browse);
  groupLayout->addLayout(customRow);
  auto* ok = new QPushButton(QStringLiteral("確定"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  auto* cancel = new QPushButton(QStringLiteral("取 消"), this);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);

  m_default->setChecked(true);
  customToggled(false);
  connect(m_custom, &QRadioButton::toggled, this, &FileSelectionDialog::customToggled);
  connect(m_browse, &QPushButton::clicked, this, &FileSelectionDialog::browse);
  connect(ok, &QPushButton::clicked, this, [this] {
    m_folder = m_custom->isChecked() ? m_edit->text().toStdString() + "/" : m_defaultFolder;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    m_folder.clear();
    reject();
  });
}

void FileSelectionDialog::customToggled(bool on) {
  m_edit->setEnabled(on);
  m_browse->setEnabled(on);
  if (on && m_edit->text().isEmpty()) {
    std::string upload = m_settings.readString(app::kOrbKey, "UploadPath");
    if (!upload.empty() && upload.back() != '/' && upload.back() != '\\') upload += '/';
    m_edit->setText(QString::fromStdString(upload.empty() ? m_defaultFolder : upload));
  }
}

void FileSelectionDialog::browse() {
  const QString start = m_edit->text().isEmpty() ? QStringLiteral("/") : m_edit->text();
  const QString chosen = FileDialog::existingFolder(this, QStringLiteral("選擇目錄"), start);
  if (!chosen.isEmpty()) m_edit->setText(chosen);
}

}  // namespace athup::gui
