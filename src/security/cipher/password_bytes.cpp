#include "security/cipher/password_bytes.h"

#include "common/big5.h"
#include "common/errors.h"

namespace athup::security {

std::string passwordBytes(std::string_view utf8Password) {
  try {
    return common::utf8ToBig5(utf8Password);
  } catch (const Error&) {
    // the conversion's own message names the character; a password's must not
    throw Error("密碼含有無法使用的字元");
  }
}

}  // namespace athup::security
