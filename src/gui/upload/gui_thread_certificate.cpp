#include "gui/upload/gui_thread_certificate.h"

#include "gui/upload/gui_thread_call.h"

namespace athup::gui {

void GuiThreadCertificate::chooseCertType() {
  callOnThreadOf(m_guiObject, [&] { m_target.chooseCertType(); });
}

std::optional<std::string> GuiThreadCertificate::makeSeal(std::string_view text,
                                                          const std::string& ban) {
  return callOnThreadOf(m_guiObject, [&] { return m_target.makeSeal(text, ban); });
}

std::optional<std::string> GuiThreadCertificate::makeUploadSeal(std::string_view text) {
  return callOnThreadOf(m_guiObject, [&] { return m_target.makeUploadSeal(text); });
}

}  // namespace athup::gui
