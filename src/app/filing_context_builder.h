#pragma once

#include "app/app_session.h"
#include "upload/filing_context.h"

namespace athup::app {

// The filing context of the session's period: the period and version values, the server
// addresses from "ath_upd" (read now, so a changed setting counts without a restart), trust from
// "ca_file", the proxy from "proxy_ip" and "proxy_port" when both are set, and the folders. The
// context points at the session's clock, so it must not outlive the session.
[[nodiscard]] upload::FilingContext buildFilingContext(const AppSession& session);

}  // namespace athup::app
