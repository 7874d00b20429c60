#include "security/certificates/account_password.h"

namespace athup::security {

bool isValidAccountPassword(std::string_view password) {
  if (password.size() < static_cast<std::size_t>(kAccountPasswordMinLength) ||
      password.size() > static_cast<std::size_t>(kAccountPasswordMaxLength)) {
    return false;
  }
  for (const char c : password) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

}  // namespace athup::security
