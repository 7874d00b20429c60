#include "cli/period_session.h"

#include <variant>

#include "app/environment.h"
#include "app/period_field.h"
#include "app/period_input.h"
#include "app/program_location.h"
#include "app/shared_doc_dir.h"
#include "common/errors.h"

namespace athup::cli {

PeriodSession::PeriodSession(const std::string& typedPeriod, Interaction& interaction) {
  const auto environment = app::Environment::fromProcess();
  const auto checked = app::PeriodField::fromField(typedPeriod);
  if (const auto* problem = std::get_if<std::string>(&checked)) {
    throw Error(*problem);
  }
  m_settings = std::make_unique<app::IniSettingsStore>(app::settingsFilePath(environment));
  m_session = std::make_unique<app::AppSession>(
      app::SessionSetup{*m_settings, interaction, m_clock,
                        app::locateProgram(app::currentExecutableDir(), environment),
                        app::sharedDocDir(environment), environment.tempFolder()});
  if (!m_session->prepareEnvironment(std::get<app::PeriodField>(checked))) {
    throw SilentAbort();
  }
}

}  // namespace athup::cli
