#include "security/certificates/certificate_type.h"

namespace athup::security {

std::string certTypeForChoice(int index) {
  return std::string(index == 1 ? kCertTypeCard : kCertTypeAccount);
}

}  // namespace athup::security
