// The archive container from the command line: pack files into a new archive, list its registry,
// extract it with the checksum check on. Scripts read the list output, so its form is fixed.
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/command.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "security/archive/archive.h"
#include "security/archive/extract_path.h"

namespace athup::cli {
namespace {

using security::Archive;
using security::CompressionLevel;

CompressionLevel levelNamed(const std::string& name) {
  if (name == "none") return CompressionLevel::None;
  if (name == "fastest") return CompressionLevel::Fastest;
  if (name == "default") return CompressionLevel::Default;
  if (name == "maximum") return CompressionLevel::Maximum;
  throw UsageError("unknown level \"" + name + "\"; expected none, fastest, default or maximum");
}

std::filesystem::path pathOf(const std::string& utf8) {
  return common::pathFromUtf8(utf8);
}

int runPack(const std::vector<std::string>& args) {
  CompressionLevel level = CompressionLevel::Maximum;  // what the upload uses
  std::vector<std::string> paths;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--level") {
      if (i + 1 >= args.size()) throw UsageError("--level needs a value");
      level = levelNamed(args[++i]);
    } else if (!optionsEnded && arg.rfind("--level=", 0) == 0) {
      level = levelNamed(arg.substr(8));
    } else if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() < 2 || paths[0].empty())
    throw UsageError("expected ARCHIVE and at least one FILE");

  const std::filesystem::path name = pathOf(paths[0]);
  std::vector<std::filesystem::path> files;
  for (std::size_t i = 1; i < paths.size(); ++i) files.push_back(pathOf(paths[i]));
  Archive archive;
  archive.setCompressionLevel(level);
  archive.create(name);  // refuses an existing file before anything is written
  // one temporary file and one rename: a failure or a kill leaves no archive at the name
  archive.addFiles(files);
  archive.close();
  return kExitOk;
}

// A recorded name on its list line: a control character (a line break above all) would let one
// entry pass for two or garble the terminal, so it is shown as "?".
std::string listedName(std::string name) {
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return name;
}

Archive& openOrThrow(Archive& archive, const std::string& name) {
  if (name.empty() || !archive.open(pathOf(name))) throw UsageError("expected ARCHIVE");
  return archive;
}

int runList(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 2) throw UsageError("expected ARCHIVE");
  Archive archive;
  openOrThrow(archive, args[1]);
  for (int i = 0; i < archive.entryCount(); ++i) {
    const security::ArchiveEntry entry = archive.entry(i);
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(entry.crc32));
    out << i << ' ' << listedName(entry.fileName) << ' ' << entry.uncompressedSize << ' '
        << entry.compressedSize << ' ' << entry.dataOffset << ' ' << crc << ' '
        << static_cast<int>(entry.compressionLevel) << '\n';
  }
  return kExitOk;
}

std::string existsText(const std::filesystem::path& target) {
  const std::u8string name = target.u8string();
  return "File already exists (" + std::string(name.begin(), name.end()) +
         "); give --overwrite to replace it";
}

int runExtract(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  bool overwrite = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--overwrite") {
      overwrite = true;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw UsageError("unknown option " + args[i]);
    } else {
      operands.push_back(args[i]);
    }
  }
  if (operands.size() != 2 || operands[1].empty()) throw UsageError("expected ARCHIVE and DIR");
  Archive archive;
  archive.setCheckCrc(true);
  openOrThrow(archive, operands[0]);
  if (!overwrite) {
    // every name is checked before the first file is written, so a refusal changes nothing
    const std::filesystem::path base = security::zlb::normalizeDestination(operands[1]);
    for (int i = 0; i < archive.entryCount(); ++i) {
      const auto target = base / security::zlb::utf8Path(archive.entry(i).fileName);
      std::error_code error;
      if (std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
        throw Error(existsText(target));
      }
    }
    // and a file that appears meanwhile is still not replaced
    archive.setOnReplaceFile(
        [](const std::filesystem::path& target) -> bool { throw Error(existsText(target)); });
  }
  archive.extractAll(pathOf(operands[1]));
  return kExitOk;
}

int runArchive(CommandContext& context) {
  const std::vector<std::string>& args = context.args;
  if (args.empty()) throw UsageError("expected pack, list or extract");
  if (args[0] == "pack") return runPack(args);
  if (args[0] == "list") return runList(args, context.out);
  if (args[0] == "extract") return runExtract(args);
  throw UsageError("unknown action \"" + args[0] + "\"; expected pack, list or extract");
}

const CommandRegistration kArchive(
    {"archive",
     "  athup-cli archive pack [--level none|fastest|default|maximum] ARCHIVE FILE...\n"
     "      Pack the files into a new archive, one entry each (level maximum by default).\n"
     "  athup-cli archive list ARCHIVE\n"
     "      List one line per entry: index name size stored-size offset CRC-32 level.\n"
     "  athup-cli archive extract [--overwrite] ARCHIVE DIR\n"
     "      Extract every entry into DIR, checking each file's CRC-32; an existing file is\n"
     "      replaced only with --overwrite.\n",
     runArchive});

}  // namespace
}  // namespace athup::cli
