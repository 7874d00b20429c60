#include "demo_data/demo_data_cli.h"

#include <charconv>
#include <exception>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/file_helpers.h"
#include "demo_data/demo_data_writer.h"
#include "demo_data/demo_scenario.h"

namespace athup::demodata {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: athup-demo-data --doc-dir DIR --period YYYMM [--seed N] [--program-dir DIR]\n"
    "                       [--db-path DIR]\n"
    "Writes what the filing program leaves behind for the period, the same bytes for the same\n"
    "seed: filing files and evidence PDFs under DIR/UpLoad/Default/YYYMM/, the taxpayer master\n"
    "and code tables under the database root (default DIR/DB/), the last return upload in its\n"
    "period folder, and with --program-dir the version record and the notices. Tables it writes\n"
    "that already exist are emptied first.\n";

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string pathText(const std::filesystem::path& path) {
  return common::utf8FromPath(path);
}

DemoDataOptions parse(const std::vector<std::string>& args) {
  DemoDataOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) throw UsageError("missing value for " + name);
    const std::string& value = args[++i];
    if (name == "--doc-dir") {
      options.docDir = value;
    } else if (name == "--period") {
      options.period = value;
    } else if (name == "--seed") {
      const auto [end, error] =
          std::from_chars(value.data(), value.data() + value.size(), options.seed);
      if (error != std::errc() || end != value.data() + value.size()) {
        throw UsageError("--seed needs a whole number from 0 to 18446744073709551615: " + value);
      }
    } else if (name == "--program-dir") {
      options.programDir = value;
    } else if (name == "--db-path") {
      options.dbPath = value;
    } else {
      throw UsageError("unknown option " + name);
    }
  }
  if (options.docDir.empty()) throw UsageError("--doc-dir is required");
  if (options.period.empty()) throw UsageError("--period is required");
  if (!isValidPeriod(options.period)) {
    throw UsageError("--period must be YYYMM with a month from 01 to 12: " + options.period);
  }
  return options;
}

void printSummary(const DemoDataSummary& summary, std::uint64_t seed, std::ostream& out) {
  out << "period " << summary.gDataYM << " (filed in " << summary.gApplyYM << "), seed " << seed
      << "\n";
  out << "taxpayers: " << summary.taxpayers << " (" << summary.applyerRows << " master rows; BAN "
      << summary.repeatedBan << " occurs twice)\n";
  out << "filing files: " << summary.filingFiles.size() << " in " << pathText(summary.filingFolder)
      << "\n";
  for (const WrittenFilingFile& file : summary.filingFiles) {
    out << "  " << pathText(file.path.filename()) << "  " << file.records << " record(s), "
        << file.needEvidence << " needing evidence\n";
  }
  out << "documents: " << summary.documents.size() << " PDF in " << pathText(summary.documentFolder)
      << "\n";
  out << "tables:\n";
  for (const TableCount& table : summary.tables) {
    out << "  " << pathText(table.file) << "  " << table.rows << " row(s)\n";
  }
  for (const auto& file : summary.programFiles) out << "program file: " << pathText(file) << "\n";
}

}  // namespace

int runDemoDataCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  DemoDataOptions options;
  try {
    options = parse(args);
  } catch (const UsageError& e) {
    err << "athup-demo-data: " << e.what() << "\n" << kUsage;
    return kExitUsage;
  }
  try {
    printSummary(writeDemoData(options), options.seed, out);
    return kExitOk;
  } catch (const std::exception& e) {
    err << "athup-demo-data: " << e.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace athup::demodata
