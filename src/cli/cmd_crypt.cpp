// The file ciphers from the command line: the upload cipher, the receipt-file cipher and the
// receipt-file cipher under the version-record password.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/password_option.h"
#include "cli/stderr_interaction.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/interaction.h"
#include "security/cipher/crypt_file.h"
#include "security/cipher/receipt_file_cipher.h"
#include "security/cipher/upload_cipher.h"

namespace athup::cli {
namespace {

struct CryptArgs {
  std::optional<std::string> password;
  std::vector<std::string> files;
};

CryptArgs parseArgs(CommandContext& context, std::size_t from, bool withPassword) {
  const std::vector<std::string>& args = context.args;
  CryptArgs parsed;
  PasswordOption password;
  for (std::size_t i = from; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (withPassword && password.take(args, i)) continue;
    if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
      throw UsageError("unknown option " + arg);
    } else if (arg != "--") {
      parsed.files.push_back(arg);
    }
  }
  if (withPassword && !password.given())
    throw UsageError("--password or --password-file is required");
  if (parsed.files.size() != 2) throw UsageError("expected SRC and DST");
  // Read last: a usage error must not have consumed standard input first.
  if (withPassword) parsed.password = password.read(context.in);
  return parsed;
}

// Arguments are UTF-8 like all text inside the program; a plain std::string would be read in the
// local code page on Windows and miss files with Chinese names.
std::filesystem::path pathOf(const std::string& utf8) {
  return common::pathFromUtf8(utf8);
}

enum class Direction { Encrypt, Decrypt };

Direction directionOf(const std::vector<std::string>& args) {
  if (!args.empty() && args[0] == "encrypt") return Direction::Encrypt;
  if (!args.empty() && args[0] == "decrypt") return Direction::Decrypt;
  throw UsageError("expected encrypt or decrypt");
}

int runUploadCipher(CommandContext& context, Direction direction) {
  const CryptArgs args = parseArgs(context, 0, true);
  security::UploadCipher cipher;
  cipher.setPassword(*args.password);
  if (direction == Direction::Encrypt) {
    cipher.encryptFile(pathOf(args.files[0]));
  } else {
    cipher.decryptFile(pathOf(args.files[0]));
  }
  cipher.saveResult(pathOf(args.files[1]));
  return kExitOk;
}

int runEncrypt(CommandContext& context) {
  return runUploadCipher(context, Direction::Encrypt);
}
int runDecrypt(CommandContext& context) {
  return runUploadCipher(context, Direction::Decrypt);
}

int runReceiptFile(CommandContext& context) {
  const Direction direction = directionOf(context.args);
  const CryptArgs args = parseArgs(context, 1, true);
  security::ReceiptFileCipher cipher(security::TaxSystem::ORB);
  cipher.setSource(pathOf(args.files[0]));
  cipher.setDestination(pathOf(args.files[1]));
  cipher.setPassword(*args.password);
  if (direction == Direction::Encrypt) {
    cipher.encrypt();
  } else {
    cipher.decrypt();
  }
  return kExitOk;
}

int runVersionFile(CommandContext& context) {
  const Direction direction = directionOf(context.args);
  const CryptArgs args = parseArgs(context, 1, false);
  StderrInteraction ui(context.err);
  try {
    security::cryptFileByMode(pathOf(args.files[0]), pathOf(args.files[1]),
                              direction == Direction::Encrypt ? security::CryptMode::Encrypt
                                                              : security::CryptMode::Decrypt);
  } catch (const StoppedByUser&) {
    throw;
  } catch (const SilentAbort&) {
    throw;
  } catch (const std::exception& e) {
    Interaction& port = ui;  // the port's form, with its default caption
    port.showMessage(MessageKind::Plain, e.what());
    return kExitFailure;
  }
  return kExitOk;
}

// The password's lines follow each synopsis that takes one. Defined before the registrations,
// which keep views of them.
const std::string kPasswordForms = "(--password-file F | --password - | --password P)";
const std::string kEncryptUsage = "  athup-cli encrypt " + kPasswordForms +
                                  " SRC DST\n"
                                  "      Encrypt a file for upload with the upload cipher.\n" +
                                  std::string(PasswordOption::helpLines());
const std::string kDecryptUsage = "  athup-cli decrypt " + kPasswordForms +
                                  " SRC DST\n"
                                  "      Decrypt an upload file with the upload cipher.\n" +
                                  std::string(PasswordOption::helpLines());
const std::string kReceiptFileUsage = "  athup-cli receipt-file encrypt|decrypt " + kPasswordForms +
                                      " SRC DST\n"
                                      "      Encrypt or decrypt a receipt file.\n" +
                                      std::string(PasswordOption::helpLines());

const CommandRegistration kEncrypt({"encrypt", kEncryptUsage, runEncrypt});
const CommandRegistration kDecrypt({"decrypt", kDecryptUsage, runDecrypt});
const CommandRegistration kReceiptFile({"receipt-file", kReceiptFileUsage, runReceiptFile});
const CommandRegistration kVersionFile(
    {"version-file",
     "  athup-cli version-file encrypt|decrypt SRC DST\n"
     "      Encrypt or decrypt the version record (under its own fixed password).\n",
     runVersionFile});

}  // namespace
}  // namespace athup::cli
