#pragma once

#include <string_view>

namespace athup::upload {

// The deployment's host names, kept in this one place. They belong to the tax authority's
// servers and are set when the program is packaged for a deployment; nothing else in the code
// names a host. A verification server or the local simulator is reached by putting its host
// (a port may follow, "127.0.0.1:8443") into the settings value "ath_upd".
struct ServerHosts {
  std::string_view productionFiling;       // filing server of production
  std::string_view verificationFiling;     // filing server of verification
  std::string_view productionReceipt;      // receipt host ("ssl_ip") of production
  std::string_view verificationReceipt;    // receipt host ("ssl_ip") of verification
  std::string_view productionInformation;  // information site with the download page
  std::string_view verificationInformation;
};

inline constexpr ServerHosts kServerHosts{
    "orbatt.tax.example.gov.tw", "orbatt-test.tax.example.gov.tw",
    "orbssl.tax.example.gov.tw", "orbssl-test.tax.example.gov.tw",
    "www.tax.example.gov.tw",    "www-test.tax.example.gov.tw",
};

}  // namespace athup::upload
