// athup-cli crc / crc32: checksums of files, one line each ("<checksum>  <path>").
#include <cerrno>
#include <cstring>
#include <fstream>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "common/errors.h"
#include "security/codecs/file_checksum.h"
#include "security/codecs/stream_checksum.h"

namespace athup::cli {
namespace {

std::string standardCrcOfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("Cannot open file \"" + path + "\". " + std::strerror(errno));
  std::uint32_t crc = 0;
  std::string block(1 << 16, '\0');
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
    crc = security::standardCrc32Update(
        crc, std::string_view(block.data(), static_cast<std::size_t>(in.gcount())));
  }
  if (in.bad()) throw Error("Cannot read file \"" + path + "\".");
  return security::crc32HexText(crc);
}

// A file that fails is reported and skipped; the others are still checksummed.
int checksumEach(CommandContext& context, std::string (*checksum)(const std::string&)) {
  if (context.args.empty()) throw UsageError("no file given");
  int result = kExitOk;
  for (const std::string& path : context.args) {
    try {
      context.out << checksum(path) << "  " << path << '\n';
    } catch (const Error& e) {
      context.err << path << ": " << e.what() << '\n';
      result = kExitFailure;
    }
  }
  return result;
}

int runCrc(CommandContext& context) {
  return checksumEach(context, [](const std::string& path) {
    security::FileChecksumCalculator calc;
    return calc.checksumText(path);
  });
}

int runCrc32(CommandContext& context) {
  return checksumEach(context, standardCrcOfFile);
}

const CommandRegistration kCrc({"crc",
                                "  athup-cli crc FILE...\n"
                                "      Print the file checksum text of each file, as stored and "
                                "sent (upper-case hex, no leading zeros).\n",
                                runCrc});
const CommandRegistration kCrc32({"crc32",
                                  "  athup-cli crc32 FILE...\n"
                                  "      Print the standard CRC-32 of each file (eight upper-case "
                                  "hex digits).\n",
                                  runCrc32});

}  // namespace
}  // namespace athup::cli
