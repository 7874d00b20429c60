#include "app/filing_context_builder.h"

#include "common/file_helpers.h"
#include "upload/endpoints.h"
#include "upload/proxy.h"

namespace athup::app {

upload::FilingContext buildFilingContext(const AppSession& session) {
  const SettingsStore& settings = session.settings();
  upload::FilingContext context;
  context.period = session.period().gDataYM;
  context.applyYM = session.period().gApplyYM;
  context.version = session.version().gVersion;
  context.versionDate = session.version().gVersionDate;
  context.endpoints = upload::selectEndpoints(settings.readString(kOrbKey, "ath_upd"));
  context.transport.caFile = common::pathFromUtf8(settings.readString(kOrbKey, "ca_file"));
  const std::string proxyIp = settings.readString(kOrbKey, "proxy_ip");
  const std::string proxyPort = settings.readString(kOrbKey, "proxy_port");
  if (!proxyIp.empty() && !proxyPort.empty()) {
    context.transport.proxy = upload::proxyFromSettings(proxyIp, proxyPort);
    context.proxyText = proxyIp + ":" + proxyPort;
  }
  const Folders& folders = session.folders();
  context.programFolder = session.program().writableDir;
  context.workFolder = session.program().writableDir / "TMP";
  context.backupFolder = common::pathFromUtf8(folders.gBackupPath);
  context.reportFolder = common::pathFromUtf8(folders.gReportPath);
  context.runLogFile = common::pathFromUtf8(folders.gRunLogFile);
  context.clock = &session.clock();
  return context;
}

}  // namespace athup::app
