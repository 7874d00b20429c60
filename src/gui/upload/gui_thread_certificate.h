#pragma once

#include <QObject>

#include "upload/certificate_port.h"

namespace athup::gui {

// The certificate port for a flow on a worker thread: the dialogs and the card run on the
// window's thread. The values read are the session's own, unchanged while the flow runs.
class GuiThreadCertificate final : public upload::CertificatePort {
 public:
  GuiThreadCertificate(upload::CertificatePort& target, QObject* guiObject)
      : m_target(target), m_guiObject(guiObject) {}

  void chooseCertType() override;
  [[nodiscard]] const std::string& certType() const override { return m_target.certType(); }
  [[nodiscard]] const std::string& certPassword() const override { return m_target.certPassword(); }
  [[nodiscard]] std::optional<std::string> makeSeal(std::string_view text,
                                                    const std::string& ban) override;
  [[nodiscard]] std::optional<std::string> makeUploadSeal(std::string_view text) override;

 private:
  upload::CertificatePort& m_target;
  QObject* m_guiObject;
};

}  // namespace athup::gui
