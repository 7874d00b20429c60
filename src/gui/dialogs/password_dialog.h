#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLineEdit;

namespace athup::gui {

// Asks for an account password or a card PIN; the text never shows.
class PasswordDialog : public QDialog {
  Q_OBJECT
 public:
  PasswordDialog(const QString& caption, const QString& prompt, QWidget* parent = nullptr);

  [[nodiscard]] QString secret() const;

  // The secret, or nullopt when the user cancels. Tests queue the next answer (nullopt = cancel).
  [[nodiscard]] static std::optional<QString> ask(QWidget* parent, const QString& caption,
                                                  const QString& prompt);
  static void setNextSecret(std::optional<QString> secret);

 private:
  QLineEdit* m_edit;
};

}  // namespace athup::gui
