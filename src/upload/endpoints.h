#pragma once

#include <string>
#include <string_view>

namespace athup::upload {

// The three addresses of the filing server.
struct Endpoints {
  std::string queryUrl;          // gQueryURL: result query and pre-upload request
  std::string uploadUrl;         // gUploadURL: file upload
  std::string clientVersionUrl;  // gClientVersionURL: connection check before each upload
};

inline constexpr std::string_view kQueryPath = "/orbatt/orbAttachQuery";
inline constexpr std::string_view kUploadPath = "/orbatt/orbAttachUpload";
inline constexpr std::string_view kClientVersionPath = "/orbatt/ClientVersion.jsp";

// From the settings value "ath_upd": blank (or absent) gives the production filing server,
// anything else is used exactly as stored, blanks included.
[[nodiscard]] Endpoints selectEndpoints(std::string_view athUpd);

}  // namespace athup::upload
