// The file ciphers from the command line: the upload cipher, the receipt-file cipher and the
// receipt-file cipher under the version-record password.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/stderr_interaction.h"
#include "common/errors.h"
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

CryptArgs parseArgs(const std::vector<std::string>& args, std::size_t from, bool withPassword) {
  CryptArgs parsed;
  for (std::size_t i = from; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (withPassword && arg == "--password") {
      if (i + 1 >= args.size()) throw UsageError("--password needs a value");
      parsed.password = args[++i];
    } else if (withPassword && arg.rfind("--password=", 0) == 0) {
      parsed.password = arg.substr(11);
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
      throw UsageError("unknown option " + arg);
    } else if (arg != "--") {
      parsed.files.push_back(arg);
    }
  }
  if (withPassword && !parsed.password) throw UsageError("--password is required");
  if (parsed.files.size() != 2) throw UsageError("expected SRC and DST");
  return parsed;
}

// Arguments are UTF-8 like all text inside the program; a plain std::string would be read in the
// local code page on Windows and miss files with Chinese names.
std::filesystem::path pathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

enum class Direction { Encrypt, Decrypt };

Direction directionOf(const std::vector<std::string>& args) {
  if (!args.empty() && args[0] == "encrypt") return Direction::Encrypt;
  if (!args.empty() && args[0] == "decrypt") return Direction::Decrypt;
  throw UsageError("expected encrypt or decrypt");
}

int runUploadCipher(CommandContext& context, Direction direction) {
  const CryptArgs args = parseArgs(context.args, 0, true);
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
  const CryptArgs args = parseArgs(context.args, 1, true);
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
  const CryptArgs args = parseArgs(context.args, 1, false);
  StderrInteraction ui(context.err);
  try {
    security::cryptFileByMode(pathOf(args.files[0]), pathOf(args.files[1]),
                              direction == Direction::Encrypt ? security::CryptMode::encrypt
                                                              : security::CryptMode::decrypt);
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

const CommandRegistration kEncrypt({"encrypt",
                                    "  athup-cli encrypt --password P SRC DST\n"
                                    "      encrypt a file for upload (upload cipher)\n",
                                    runEncrypt});
const CommandRegistration kDecrypt({"decrypt",
                                    "  athup-cli decrypt --password P SRC DST\n"
                                    "      decrypt an upload file (upload cipher)\n",
                                    runDecrypt});
const CommandRegistration kReceiptFile(
    {"receipt-file",
     "  athup-cli receipt-file encrypt|decrypt --password P SRC DST\n"
     "      encrypt or decrypt a receipt file\n",
     runReceiptFile});
const CommandRegistration kVersionFile({"version-file",
                                        "  athup-cli version-file encrypt|decrypt SRC DST\n"
                                        "      encrypt or decrypt the version record\n",
                                        runVersionFile});

}  // namespace
}  // namespace athup::cli
