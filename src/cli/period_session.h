#pragma once

#include <memory>
#include <string>

#include "app/app_session.h"
#include "app/ini_settings_store.h"
#include "common/clock.h"
#include "common/interaction.h"

namespace athup::cli {

// A session prepared for a filing period on this workstation's configured places, as `prepare`
// makes it, for the commands that work on the period's tables. Throws SilentAbort after the
// preparation has shown why it failed, and athup::Error for a period that is not one.
class PeriodSession {
 public:
  PeriodSession(const std::string& typedPeriod, Interaction& interaction);

  [[nodiscard]] app::AppSession& session() { return *m_session; }
  // The five-digit period (gDataYM).
  [[nodiscard]] const std::string& period() const { return m_session->period().gDataYM; }

 private:
  SystemClock m_clock;
  std::unique_ptr<app::IniSettingsStore> m_settings;
  std::unique_ptr<app::AppSession> m_session;
};

}  // namespace athup::cli
