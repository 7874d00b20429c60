// athup-cli base64: standard input to standard output, byte for byte.
#include <istream>
#include <iterator>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "security/codecs/base64.h"

namespace athup::cli {
namespace {

int runBase64(CommandContext& context) {
  const auto& args = context.args;
  if (args.empty()) throw UsageError("say encode or decode");
  const std::string& mode = args[0];
  if (mode == "encode") {
    if (args.size() > 2 || (args.size() == 2 && args[1] != "--line")) {
      throw UsageError("encode takes only --line");
    }
    if (args.size() == 2) {
      const std::string input((std::istreambuf_iterator<char>(context.in)),
                              std::istreambuf_iterator<char>());
      const std::string line = security::base64Line(input);
      context.out.write(line.data(), static_cast<std::streamsize>(line.size()));
    } else {
      security::base64EncodeStream(context.in, context.out);
    }
  } else if (mode == "decode") {
    if (args.size() > 2 || (args.size() == 2 && args[1] != "--strict")) {
      throw UsageError("decode takes only --strict");
    }
    if (args.size() == 2) {
      const std::string input((std::istreambuf_iterator<char>(context.in)),
                              std::istreambuf_iterator<char>());
      const std::string bytes = security::base64DecodeStrict(input);
      context.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    } else {
      security::base64DecodeStream(context.in, context.out);
    }
  } else {
    throw UsageError("unknown mode \"" + mode + "\"");
  }
  context.out.flush();
  return kExitOk;
}

const CommandRegistration kBase64({"base64",
                                   "  athup-cli base64 encode [--line]\n"
                                   "      Encode standard input as base64 (76-character lines with "
                                   "CR LF; --line: one line).\n"
                                   "  athup-cli base64 decode [--strict]\n"
                                   "      Decode base64 on standard input to bytes (characters "
                                   "outside the alphabet are skipped; --strict: refuse anything "
                                   "but exact base64 and line breaks).\n",
                                   runBase64});

}  // namespace
}  // namespace athup::cli
