#pragma once

#include <memory>
#include <string>

#include "filing_server/fault_switches.h"
#include "filing_server/server_options.h"
#include "filing_server/taxpayer_ledger.h"

namespace athup::filing_server {

// The filing-server simulator: HTTPS on 127.0.0.1 with a test authority made at start, the
// version page, the query endpoint (pre-upload request and result query) and the upload
// endpoint, plus a small admin endpoint for the fault switches and the received files.
//
//   GET|POST /orbatt/ClientVersion.jsp   "VERSION:" + version, "VERSION DATE:" + ROC date
//   POST     /orbatt/orbAttachQuery      form body -> response document with "list", "updserial"
//   POST     /orbatt/orbAttachUpload     multipart -> decrypt, unpack, check, store, answer
//   POST     /admin/fault?name=N[&value=V][&skip=K]   switch a fault on; name=clear: all off
//   GET      /admin/state                the runs and the files received, one line each
class FilingServer {
 public:
  explicit FilingServer(ServerOptions options);
  ~FilingServer();  // stops the server
  FilingServer(const FilingServer&) = delete;
  FilingServer& operator=(const FilingServer&) = delete;

  // Makes the test authority, writes its certificate to options.caFile (when set), binds and
  // starts serving on a thread of its own. Throws athup::Error when it cannot.
  void start();
  // Stops serving and waits for the serving thread. Safe to call more than once.
  void stop();

  [[nodiscard]] int port() const;
  [[nodiscard]] std::string baseUrl() const;  // "https://127.0.0.1:" + port
  [[nodiscard]] std::string caCertificatePem() const;

  [[nodiscard]] FaultSwitches& faults();
  [[nodiscard]] const TaxpayerLedger& ledger() const;
  [[nodiscard]] const ServerOptions& options() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace athup::filing_server
