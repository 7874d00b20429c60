#include "upload/endpoints.h"

#include "common/text_helpers.h"
#include "upload/server_hosts.h"

namespace athup::upload {

Endpoints selectEndpoints(std::string_view athUpd) {
  const std::string host = common::trimBlanks(athUpd).empty()
                               ? std::string(kServerHosts.productionFiling)
                               : std::string(athUpd);
  const std::string base = "https://" + host;
  return {base + std::string(kQueryPath), base + std::string(kUploadPath),
          base + std::string(kClientVersionPath)};
}

}  // namespace athup::upload
